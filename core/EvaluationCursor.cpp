#include "EvaluationCursor.h"

#include <algorithm>
#include <cmath>

#include "AtmosphericCorrection.h"
#include "Settings.h"

namespace {

constexpr double kTickRate = 2000000.0;       // ticks per second
constexpr int64_t kMinWindowTicks = 150000;   // a half window covers at least 75 ms, unsmoothed
constexpr double kKmhPerMps = 3.6;
constexpr double kPsPerKw = 1.3605442;        // the factor the printed sheets have always used
constexpr double kTwoPi = 2.0 * 3.141592653589793;
constexpr double kTenthKwPerNmRpm = kTwoPi / 60.0 / 1000.0 * 10.0;

const QuantityDescriptor kQuantities[kQuantityCount] = {
    {40006, 40034, 1, &EvaluationCursor::speedValue},        // Geschwindigkeit km/h
    {40007, 40035, 1, &EvaluationCursor::torqueValue},       // Drehmoment Nm
    {40008, 40036, 1, &EvaluationCursor::powerPsValue},      // Leistung PS
    {40008, 40037, 1, &EvaluationCursor::powerKwValue},      // Leistung kW
    {40009, 40038, 2, &EvaluationCursor::timeValue},         // Zeit s
    {40010, 40039, 0, &EvaluationCursor::engineSpeedValue},  // Drehzahl U/min
    {40011, 40040, 1, &EvaluationCursor::distanceValue},     // Wegstrecke m
    {40030, 40045, 2, nullptr},                              // Leistung/Drehm. kW/Nm
    {40030, 40048, 2, nullptr},                              // Leistung/Drehm. PS/Nm
    {0, 0, 0, &EvaluationCursor::lambdaValue},               // lambda reading
};

// Time differences are taken in 64 bits: the same as 32-bit differences on
// every real recording, and no overflow on a damaged file.
inline double span(const int32_t* t, unsigned from, unsigned to) { return double(int64_t(t[to]) - t[from]); }

}  // namespace

const QuantityDescriptor& quantityDescriptor(int q) { return kQuantities[q]; }

int32_t clampQuantity(double scaled) {
    if (std::isnan(scaled)) return 0;
    if (scaled >= kValueLimit) return kValueLimit;
    if (scaled <= -kValueLimit) return -kValueLimit;
    return int32_t(scaled);
}

EvaluationCursor::EvaluationCursor(const EvaluationOptions& options)
    : EvaluationCursor(options, theSettings()) {}

EvaluationCursor::EvaluationCursor(const EvaluationOptions& options, const Settings& calibration)
    : options_(&options), calibration_(&calibration) {}

void EvaluationCursor::bindSlots(Measurement* const* slots, int slotCount) {
    slots_ = slots;
    slotCount_ = slots ? slotCount : 0;
}

unsigned EvaluationCursor::count() const {
    // a measurement never holds more than 16000 samples; the cap keeps every
    // index sum below 16 bits even for a record built by hand
    const size_t n = std::min<size_t>(m_->sampleCount, m_->times.size());
    return unsigned(std::min<size_t>(n, kMaxSamples));
}

bool EvaluationCursor::reaches(uint16_t i, unsigned reach) const {
    return m_ && i >= reach && i + reach < count();
}

// ---- moving the cursor -----------------------------------------------------

bool EvaluationCursor::openWindow(unsigned a) {
    if (!m_) return false;
    if (m_->gearRatio == 0) m_->gearRatio = 1;
    index_ = uint16_t(std::min(a, 0xFFFFu));
    const unsigned n = count();
    if (a >= n) return false;
    const int32_t* t = m_->times.data();
    // each step of smoothing doubles the shortest half window
    const int64_t minimum = kMinWindowTicks << std::min(options_->smoothing, kMaxSmoothing);
    unsigned k = a + 1;
    while (k < n && span(t, a, k) < minimum) ++k;
    if (k >= n) return false;  // the half-width stays as it was
    halfWidth_ = uint16_t(k - a);
    if (a < 2u * halfWidth_) index_ = uint16_t(2 * halfWidth_);
    return true;
}

bool EvaluationCursor::advance() {
    if (!openWindow(unsigned(index_) + halfWidth_)) return false;
    return int(index_) < int(count()) - 2 * int(halfWidth_);
}

void EvaluationCursor::rewind(Measurement& m) {
    m_ = &m;
    openWindow(0);
    while (int(index_) - 2 * int(halfWidth_) < 0) advance();
}

bool EvaluationCursor::rewind(int slot) {
    if (slot < 0 || slot >= slotCount_ || !slots_[slot]) return false;
    rewind(*slots_[slot]);
    return true;
}

bool EvaluationCursor::evaluate(int slot) {
    if (slot < 0 || slot >= slotCount_ || !slots_[slot]) return false;
    evaluate(*slots_[slot]);
    return true;
}

void EvaluationCursor::evaluate(Measurement& m) {
    rewind(m);
    m.maxRpmIndex = m.maxPowerIndex = m.maxTorqueIndex = index_;

    // end of the run-up
    while (advance())
        if (engineSpeedValue(m.maxRpmIndex) < engineSpeedValue(index_)) m.maxRpmIndex = index_;

    // the loss is read lossTime seconds into the coast-down
    openWindow(m.maxRpmIndex);
    const double threshold = std::trunc(quantityValue(kQuantityTime, m.maxRpmIndex) + options_->lossTime * 100.0);
    m.lossIndex = 0;
    while (advance()) {
        if (std::trunc(timeValue(index_)) >= threshold) {
            m.lossIndex = index_;
            break;
        }
    }
    if (m.lossIndex != 0) {
        m.lossTorque = wheelTorque(m.lossIndex);
        m.lossRpm = engineSpeedValue(m.lossIndex);
    } else {
        m.lossTorque = 0;
        m.lossRpm = 1;
    }

    m.correctionFactor = correctionFactor(options_->correction, m.temperature, m.pressure, m.humidity);

    // power and torque maxima; each candidate is compared with the maximum
    // so far evaluated in that maximum's own window
    rewind(m);
    while (advance()) {
        const uint16_t i = index_;
        const double power = powerKwValue(i);
        openWindow(m.maxPowerIndex);
        if (powerKwValue(m.maxPowerIndex) < power) m.maxPowerIndex = i;
        openWindow(i);
        const double torque = torqueValue(i);
        openWindow(m.maxTorqueIndex);
        if (torqueValue(m.maxTorqueIndex) < torque) m.maxTorqueIndex = i;
        // the next step starts from i with the half-width found at the torque maximum
        index_ = i;
    }
}

// ---- values ----------------------------------------------------------------

int32_t EvaluationCursor::quantityValue(int q, uint16_t i) const { return clampQuantity(scaledValue(q, i)); }

double EvaluationCursor::scaledValue(int q, uint16_t i) const {
    if (q < 0 || q >= kQuantityCount || !kQuantities[q].value) return 0;
    return (this->*kQuantities[q].value)(i);
}

double EvaluationCursor::timeValue(uint16_t i) const {
    if (!m_ || i >= count()) return 0;
    return m_->times[i] * 100.0 / kTickRate;
}

double EvaluationCursor::distanceValue(uint16_t i) const {
    if (!m_) return 0;
    return m_->circumference * i * 10.0;
}

double EvaluationCursor::lambdaValue(uint16_t i) const {
    if (!m_ || !m_->lambdaValues || i >= count() || i >= m_->lambdaValues->size()) return 0;
    return double((*m_->lambdaValues)[i] / 10);
}

double EvaluationCursor::speedValue(uint16_t i) const {
    const unsigned w = halfWidth_;
    if (!reaches(i, w)) return 0;
    // U · 3.6 · n with n = 2w·f / (t[i+w] - t[i-w]) revolutions per second
    return m_->circumference * kKmhPerMps * 10.0 * (2.0 * w * kTickRate) / span(m_->times.data(), i - w, i + w);
}

double EvaluationCursor::engineSpeedAt(uint16_t i) const {
    const unsigned w = halfWidth_;
    return m_->gearRatio * 60.0 * (2.0 * w * kTickRate) / span(m_->times.data(), i - w, i + w);
}

double EvaluationCursor::engineSpeedValue(uint16_t i) const {
    if (!reaches(i, halfWidth_)) return 0;
    return engineSpeedAt(i);
}

double EvaluationCursor::wheelTorque(uint16_t i) const {
    const unsigned w = halfWidth_;
    if (!reaches(i, 2 * w)) return 0;
    const int32_t* t = m_->times.data();
    const double r = m_->gearRatio;
    // Tw = J · (ω₊ - ω₋) / Δτ / r², with the angular engine speeds over the
    // half windows after and before i, ω± = 2π·r·2w·f / dt±, and the time
    // between them Δτ = (t[i+w] - t[i-w]) / f. Brought over one denominator
    // it costs a single division, and a steady roller gives exactly 0.
    const double after = span(t, i, i + 2 * w);
    const double before = span(t, i - 2 * w, i);
    const double between = span(t, i - w, i + w);
    return m_->inertia * kTwoPi * (2.0 * w * kTickRate * kTickRate) * (before - after) /
           (after * before * between * r);
}

double EvaluationCursor::correctedTorque(uint16_t i, double rpm) const {
    double torque = wheelTorque(i);
    // at the engine the drive-train loss of the coast-down is added back,
    // in proportion to engine speed
    if (options_->powerMode != kPowerAtAxle) torque -= m_->lossTorque * rpm / m_->lossRpm;
    return torque * m_->correctionFactor;
}

double EvaluationCursor::torqueValue(uint16_t i) const {
    if (!reaches(i, 2u * halfWidth_)) return 0;
    return correctedTorque(i, engineSpeedAt(i)) * calibration_->hardwareMCorr * 10.0;
}

double EvaluationCursor::powerKwValue(uint16_t i) const {
    if (!reaches(i, 2u * halfWidth_)) return 0;
    const double rpm = engineSpeedAt(i);
    // P = M · 2π · rpm / 60 in W, shown in tenths of a kW; torque calibration
    // does not enter power
    return correctedTorque(i, rpm) * calibration_->hardwarePCorr * rpm * kTenthKwPerNmRpm;
}

double EvaluationCursor::powerPsValue(uint16_t i) const { return powerKwValue(i) * kPsPerKw; }
