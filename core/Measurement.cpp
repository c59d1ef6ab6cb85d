#include "Measurement.h"

#include <cstring>

Sample Measurement::sample(uint16_t index) const {
    Sample s;
    if (index < times.size()) s.time = times[index];
    if (lambdaValues && index < lambdaValues->size()) s.lambda = (*lambdaValues)[index];
    return s;
}

MeasurementHeader copyHeader(const Measurement& m) {
    MeasurementHeader h;
    h.sampleCount = m.sampleCount;
    h.temperature = m.temperature;
    h.pressure = m.pressure;
    h.humidity = m.humidity;
    h.gearRatio = m.gearRatio;
    h.recordedAt = m.recordedAt;
    h.inertia = m.inertia;
    h.circumference = m.circumference;
    h.comment = m.comment;
    return h;
}

namespace {

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

bool applyHeader(Measurement& m, const MeasurementHeader& h) {
    const bool changed = m.sampleCount != h.sampleCount || m.temperature != h.temperature ||
                         m.pressure != h.pressure || m.humidity != h.humidity ||
                         !sameBits(m.gearRatio, h.gearRatio) || m.recordedAt != h.recordedAt ||
                         !sameBits(m.inertia, h.inertia) || !sameBits(m.circumference, h.circumference) ||
                         m.comment != h.comment;
    if (!changed) return false;
    // the sample count is not the user's to change: the arrays keep their length
    m.temperature = h.temperature;
    m.pressure = h.pressure;
    m.humidity = h.humidity;
    m.gearRatio = h.gearRatio;
    m.recordedAt = h.recordedAt;
    m.inertia = h.inertia;
    m.circumference = h.circumference;
    m.comment = h.comment;
    m.modified = 1;
    return true;
}
