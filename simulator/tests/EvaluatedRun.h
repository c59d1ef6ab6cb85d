#pragma once
// A recorded run seen through the program's own evaluation: the cursor, its
// maxima and loss point, and the points of the pull up to the engine-speed
// maximum, in axle mode or with the loss added back.
#include <vector>

#include "EvaluationCursor.h"
#include "Measurement.h"
#include "Settings.h"

class EvaluatedRun {
public:
    explicit EvaluatedRun(Measurement& m) : m_(m), cursor_(options_, calibration_) {}

    // Maxima and loss point, lossTime seconds after the engine-speed maximum.
    void findLoss(double lossTime) {
        options_.lossTime = lossTime;
        options_.powerMode = kPowerAtEngine;
        options_.correction = 0;
        cursor_.evaluate(m_);
    }

    double rpm(int i) {
        cursor_.openWindow(unsigned(i));
        return cursor_.engineSpeedValue(uint16_t(i));
    }

    struct Point {
        double rpm, torque, powerKw;
    };
    std::vector<Point> pull(bool engineMode) {
        options_.powerMode = engineMode ? kPowerAtEngine : kPowerAtAxle;
        std::vector<Point> points;
        cursor_.rewind(m_);
        do {
            const uint16_t i = cursor_.index();
            points.push_back({cursor_.engineSpeedValue(i), cursor_.torqueValue(i) / 10, cursor_.powerKwValue(i) / 10});
        } while (cursor_.advance() && cursor_.index() <= m_.maxRpmIndex);
        return points;
    }

    int maxRpmIndex() const { return m_.maxRpmIndex; }
    double lossTorque() const { return m_.lossTorque; }
    double lossRpm() const { return m_.lossRpm; }

private:
    Measurement& m_;
    EvaluationOptions options_;
    Settings calibration_;  // MCorr and PCorr 1
    EvaluationCursor cursor_;
};
