#pragma once
// The evaluation of a recorded run, written out from its formulas for the
// simulator's physics check: moving windows of about 75 ms, road and engine
// speed from revolution counts, torque from the change of angular speed
// between the two halves of a window, and in engine mode the loss measured on
// the coast-down added back in proportion to engine speed.
#include <cmath>
#include <cstdint>
#include <vector>

#include "Measurement.h"

class EvaluationFormulas {
public:
    static constexpr double kTicks = 2000000;
    static constexpr double kPi = 3.141592653589793;

    explicit EvaluationFormulas(Measurement& m) : m_(m) {
        if (m_.gearRatio == 0) m_.gearRatio = 1;
    }

    bool openWindow(int a) {
        index_ = a;
        if (a >= count()) return false;
        int k = a + 1;
        while (k < count() && t(k) - t(a) < 150000) ++k;
        if (k >= count()) return false;
        w_ = k - a;
        if (a < 2 * w_) index_ = 2 * w_;
        return true;
    }
    bool advance() { return openWindow(index_ + w_) && index_ < count() - 2 * w_; }
    void rewind() {
        openWindow(0);
        while (index_ - 2 * w_ < 0)
            if (!advance()) break;
    }
    int index() const { return index_; }

    double time(int i) const { return t(i) / kTicks; }
    double revolutionsPerSecond(int i) const { return 2.0 * w_ * kTicks / (t(i + w_) - t(i - w_)); }
    double rpm(int i) const { return revolutionsPerSecond(i) * m_.gearRatio * 60; }
    double wheelTorque(int i) const {
        const double r = m_.gearRatio;
        const double forward = 2 * kPi * r * 2 * w_ * kTicks / (t(i + 2 * w_) - t(i));
        const double backward = 2 * kPi * r * 2 * w_ * kTicks / (t(i) - t(i - 2 * w_));
        const double span = t(i + w_) / kTicks - t(i - w_) / kTicks;
        return m_.inertia * (forward - backward) / span / (r * r);
    }

    // Engine-speed maximum and the loss point lossTime seconds after it.
    void findLoss(double lossTime) {
        rewind();
        maxRpmIndex_ = index_;
        while (advance())
            if (rpm(maxRpmIndex_) < rpm(index_)) maxRpmIndex_ = index_;
        openWindow(maxRpmIndex_);
        const double threshold = std::trunc(time(maxRpmIndex_) * 100) + lossTime * 100;
        lossTorque_ = 0;
        lossRpm_ = 1;
        while (advance()) {
            if (time(index_) * 100 >= threshold) {
                lossTorque_ = wheelTorque(index_);
                lossRpm_ = rpm(index_);
                return;
            }
        }
    }

    struct Point {
        double rpm, torque, powerKw;
    };
    // Every evaluation point up to the engine-speed maximum, in axle mode
    // (engineMode false) or with the loss added back.
    std::vector<Point> pull(bool engineMode) {
        std::vector<Point> points;
        rewind();
        do {
            const int i = index_;
            const double n = revolutionsPerSecond(i);
            double torque = wheelTorque(i);
            if (engineMode) torque -= lossTorque_ * rpm(i) / lossRpm_;
            points.push_back({rpm(i), torque, torque * 2 * kPi * m_.gearRatio * n / 1000});
        } while (advance() && index_ <= maxRpmIndex_);
        return points;
    }

    int maxRpmIndex() const { return maxRpmIndex_; }
    double lossTorque() const { return lossTorque_; }
    double lossRpm() const { return lossRpm_; }

private:
    int count() const { return static_cast<int>(m_.times.size()); }
    int32_t t(int i) const { return m_.times[i]; }

    Measurement& m_;
    int index_ = 0;
    int w_ = 1;
    int maxRpmIndex_ = 0;
    double lossTorque_ = 0;
    double lossRpm_ = 1;
};
