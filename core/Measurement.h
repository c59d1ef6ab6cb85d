#pragma once
// One recorded dynamometer run in memory: the persistent header, the comment,
// one time stamp per completed roller revolution (0.5 µs ticks), the optional
// lambda channel, and what the evaluation derives from them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

constexpr uint16_t kMaxSamples = 16000;

struct Sample {
    int32_t time = 0;    // ticks since the start of recording
    int32_t lambda = 0;  // lambda meter reading, only with the lambda channel
};

struct Measurement {
    // persistent header, in file order
    uint16_t sampleCount = 0;
    int16_t temperature = 0;    // °C, stored as its 16 bits
    uint16_t pressure = 0;      // mbar
    uint16_t humidity = 0;      // %
    double gearRatio = 0.0;     // engine revolutions per roller revolution
    int32_t recordedAt = 0;     // seconds since 1970 UTC; negative = unknown
    double inertia = 0.0;       // Nms²
    double circumference = 0.0; // m

    std::wstring comment;
    std::wstring fileName;

    // derived by the evaluation, never stored
    uint16_t maxRpmIndex = 0;
    uint16_t maxPowerIndex = 0;
    uint16_t maxTorqueIndex = 0;
    uint16_t lossIndex = 0;
    double correctionFactor = 1.0;
    double lossTorque = 0.0;
    double lossRpm = 1.0;

    int32_t modified = 0;

    std::vector<int32_t> times;
    std::optional<std::vector<int32_t>> lambdaValues;  // absent without the lambda channel

    bool hasLambda() const { return lambdaValues.has_value(); }
    Sample sample(uint16_t index) const;
};

// Fields 1-8 and the comment, as the data-editing dialog works on them.
struct MeasurementHeader {
    uint16_t sampleCount = 0;
    int16_t temperature = 0;
    uint16_t pressure = 0;
    uint16_t humidity = 0;
    double gearRatio = 0.0;
    int32_t recordedAt = 0;
    double inertia = 0.0;
    double circumference = 0.0;
    std::wstring comment;
};

MeasurementHeader copyHeader(const Measurement& m);
// Writes the copy back; marks the measurement modified when a field differs
// bit for bit or the comment differs. Returns whether anything changed.
bool applyHeader(Measurement& m, const MeasurementHeader& header);
