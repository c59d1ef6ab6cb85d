#include "SyntheticRuns.h"

#include <cmath>

#include "MeasurementFile.h"

namespace {

constexpr double kTicks = 2000000.0;
constexpr double kInertia = 7.05;
constexpr double kPi = 3.141592653589793;

// Torque rising to its peak and falling beyond it, never below 40 %.
double engineTorque(const RunShape& s, double rpm) {
    const double x = (rpm - s.peakRpm) / (s.endRpm - s.startRpm);
    return s.peakTorque * std::max(0.4, 1.0 - 1.6 * x * x);
}

double lossTorque(double rpm) { return -(8.0 + 0.0025 * rpm); }

}  // namespace

Measurement syntheticRun(const RunShape& s) {
    Measurement m;
    m.temperature = 21;
    m.pressure = 1002;
    m.humidity = 45;
    m.gearRatio = s.ratio;
    m.recordedAt = 1700003600;
    m.inertia = s.inertia;
    m.circumference = 1.25;
    m.comment = s.comment;
    if (s.lambda) m.lambdaValues.emplace();
    const double dt = 1e-4;
    double t = 0, turns = 0, rps = s.startRpm / 60.0 / s.ratio;
    double coastingSince = -1;
    unsigned seed = 12345;
    while (int(m.times.size()) < s.maxSamples) {
        const double rpm = rps * s.ratio * 60.0;
        if (coastingSince < 0 && rpm >= s.endRpm) coastingSince = t;
        if (coastingSince >= 0 && t - coastingSince >= s.coastSeconds) break;
        const double torque = coastingSince < 0 ? engineTorque(s, rpm) : lossTorque(rpm);
        rps += torque * s.ratio / s.inertia / (2.0 * kPi) * dt;
        const double before = turns;
        turns += rps * dt;
        t += dt;
        if (std::floor(turns) > std::floor(before)) {
            const double crossing = t - (turns - std::floor(turns)) / rps;
            seed = seed * 1103515245u + 12345u;
            m.times.push_back(int32_t(std::lround(crossing * kTicks)) + int32_t((seed >> 16) % 41) - 20);
            if (s.lambda) {
                // A/F × 100: rich under full load, lean on the overrun
                const int k = int(m.times.size());
                m.lambdaValues->push_back(coastingSince < 0 ? 1260 + (k % 7) * 5 : 1650 + (k % 5) * 10);
            }
        }
    }
    m.sampleCount = uint16_t(m.times.size());
    return m;
}

Measurement longRun(int variant) {
    Measurement m;
    m.sampleCount = kMaxSamples;
    m.gearRatio = 3.0;
    m.inertia = kInertia;
    m.circumference = 1.25;
    m.temperature = 21;
    m.pressure = 1002;
    m.humidity = 45;
    m.recordedAt = 1700003600;
    m.comment = L"Langer Lauf " + std::to_wstring(variant + 1);
    m.times.reserve(kMaxSamples);
    m.lambdaValues.emplace();
    double t = 0;
    unsigned seed = 12345u + unsigned(variant);
    const double top = 40.0 + 2.0 * variant;
    for (int k = 0; k < kMaxSamples; ++k) {
        const double rps = k < 12000 ? 8.0 + (top - 8.0) * k / 12000 : top - 10.0 * (k - 12000) / 4000;
        t += kTicks / rps;
        seed = seed * 1103515245u + 12345u;
        m.times.push_back(int32_t(t) + int32_t((seed >> 16) % 41) - 20);
        m.lambdaValues->push_back(k < 12000 ? 1260 + (k % 7) * 5 : 1650 + (k % 5) * 10);
    }
    return m;
}

bool writeRun(Measurement& m, const std::wstring& path) {
    m.fileName = path;
    return writeMeasurement(m);
}
