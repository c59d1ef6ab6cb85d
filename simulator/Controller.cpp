#include "Controller.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTicksPerSecond = 2000000;
constexpr int64_t kEngineFrameSpacing = 16000;   // 8 ms
constexpr int64_t kEngineTimeout = 400000;       // 200 ms without ignition: no engine signal
constexpr int64_t kNoEngineRepeat = 200000;      // then a 0 every 100 ms
constexpr int64_t kStatusSpacing = 200000;       // 100 ms
constexpr int64_t kWeatherSpacing = 2000000;     // 1 s

int32_t frameValue(double value) {
    return static_cast<int32_t>(std::clamp(std::llround(value), 0LL, static_cast<long long>(kMaxFrameValue)));
}

}  // namespace

Controller::Controller(const ControllerParameters& parameters, const Sensors& sensors, std::mt19937_64& random)
    : p_(parameters), sensors_(sensors), random_(random), mode_(parameters.mode), ratioCode_(parameters.ratioCode),
      pulseIndex_(parameters.pulseIndex) {}

double Controller::configuredEngineSignal() const {
    // "1:2" one ignition every second revolution, "1:1", "2:1" two per revolution
    switch (ratioCode_) {
    case 1: return 0.5;
    case 7: return 2.0;
    default: return 1.0;
    }
}

int64_t Controller::edgeTick(double seconds) {
    double tick = seconds * kTicksPerSecond;
    if (p_.jitterMicroseconds > 0) {
        std::normal_distribution<double> jitter(0.0, p_.jitterMicroseconds * 2);
        tick += jitter(random_);
    }
    return std::llround(tick);
}

void Controller::observe(double t0, double t1, double r0, double r1, double e0, double e1,
                         std::vector<TimedFrame>& out) {
    const size_t first = out.size();
    // roller pulses: the pulse wheel's teeth pass at k / rollerPulses revolutions
    const double teeth = p_.rollerPulses;
    for (double k = std::floor(r0 * teeth) + 1; k <= r1 * teeth; ++k) {
        const double when = t0 + (t1 - t0) * (k / teeth - r0) / (r1 - r0);
        rollerPulse(edgeTick(when), out);
    }
    // ignition pulses
    const double sparks = p_.engineSignal;
    for (double k = std::floor(e0 * sparks) + 1; k <= e1 * sparks; ++k) {
        const double when = t0 + (t1 - t0) * (k / sparks - e0) / (e1 - e0);
        enginePulse(edgeTick(when), out);
    }
    const int64_t end = std::llround(t1 * kTicksPerSecond);
    if (end - enginePulseTick_ > kEngineTimeout && end - engineFrameTick_ >= kNoEngineRepeat) {
        out.push_back({end, encodeFrame(SimFrameType::EnginePeriod, 0)});
        engineFrameTick_ = end;
    }
    if (end >= nextStatusTick_) {
        uint8_t b1 = ratioCode_, b2 = pulseIndex_;
        if (mode_ != 0) sensors_.analogueBytes(mode_, b1, b2, random_);
        out.push_back({nextStatusTick_, encodeFrame(SimFrameType::Status, mode_, b1, b2)});
        nextStatusTick_ += kStatusSpacing;
    }
    if (end >= nextWeatherTick_) {
        uint8_t raw[3];
        sensors_.weatherBytes(raw, random_);
        out.push_back({nextWeatherTick_, encodeFrame(SimFrameType::Weather, raw[0], raw[1], raw[2])});
        nextWeatherTick_ += kWeatherSpacing;
    }
    std::stable_sort(out.begin() + first, out.end(),
                     [](const TimedFrame& a, const TimedFrame& b) { return a.tick < b.tick; });
}

void Controller::rollerPulse(int64_t tick, std::vector<TimedFrame>& out) {
    if (rollerFrameTick_ < 0) {
        rollerFrameTick_ = tick;
        return;
    }
    if (++rollerPulsesCounted_ < pulseIndex_ + 1) return;
    rollerPulsesCounted_ = 0;
    out.push_back({tick, encodeFrame(SimFrameType::RollerPeriod, frameValue(tick - rollerFrameTick_))});
    rollerFrameTick_ = tick;
}

void Controller::enginePulse(int64_t tick, std::vector<TimedFrame>& out) {
    const int64_t previous = enginePulseTick_;
    enginePulseTick_ = tick;
    if (previous < 0 || tick - engineFrameTick_ < kEngineFrameSpacing) return;
    // eighths of a microsecond per revolution
    const double period = 4.0 * (tick - previous) * configuredEngineSignal();
    out.push_back({tick, encodeFrame(SimFrameType::EnginePeriod, std::max<int32_t>(1, frameValue(period)))});
    engineFrameTick_ = tick;
}

void Controller::command(uint8_t byte) {
    if (byte >= 0x50 && byte <= 0x52) {
        mode_ = byte & 0x0F;
    } else if (byte == 0x61 || byte == 0x63 || byte == 0x67) {
        ratioCode_ = byte & 0x0F;
    } else if (byte >= 0x70 && byte <= 0x7F) {
        pulseIndex_ = byte & 0x0F;
        rollerPulsesCounted_ = 0;
    }
}
