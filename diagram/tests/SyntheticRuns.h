#pragma once
// Runs as the roller sees them, made by integrating the roller's motion
// under an engine torque curve: a full-throttle run-up, then a coast-down
// against the drive-train loss. The diagram tests and the benchmark use them
// instead of recorded files.
#include <string>

#include "Measurement.h"

struct RunShape {
    double peakTorque = 100.0;   // Nm at the engine, at peakRpm
    double peakRpm = 4000.0;
    double startRpm = 1500.0;
    double endRpm = 6500.0;      // the coast-down starts here
    double coastSeconds = 8.0;
    double ratio = 3.0;          // engine revolutions per roller revolution
    double inertia = 25.0;       // Nms²: with the vehicle's mass, a run-up of some 12 s
    bool lambda = true;
    int maxSamples = kMaxSamples;
    std::wstring comment = L"Prüflauf";
};

Measurement syntheticRun(const RunShape& shape);

// The largest run a file can hold: 16000 revolutions of a slow run-up with a
// long coast-down (variant changes the jitter and the torque a little).
Measurement longRun(int variant);

// Writes the run to path (sets fileName); false on failure.
bool writeRun(Measurement& m, const std::wstring& path);
