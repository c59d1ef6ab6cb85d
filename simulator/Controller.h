#pragma once
// The simulated dynamometer controller. It times the roller's pulse wheel
// and the engine's ignition signal with a 0.5 us clock and sends
// - a roller-period frame after every (pulse-count index + 1) roller pulses,
//   so one per roller revolution when the index matches the pulse wheel;
// - an engine-period frame for the last ignition interval (in eighths of a
//   microsecond per engine revolution, after the ratio setting), at most
//   every 8 ms, and 0 after 200 ms without a pulse;
// - a status frame every 100 ms echoing its channel mode and, in mode 0,
//   ratio code and pulse-count index, else the two analogue bytes;
// - a weather frame with the raw sensor bytes every second.
// Command bytes 0x50-0x52, 0x61/0x63/0x67 and 0x70-0x7F change its setting;
// any other byte is ignored.
#include <cstdint>
#include <random>
#include <vector>

#include "FrameEncoder.h"
#include "Sensors.h"

struct ControllerParameters {
    int rollerPulses = 16;      // teeth of the roller's pulse wheel
    double engineSignal = 1.0;  // ignition pulses per engine revolution: 0.5, 1 or 2
    // configuration at power-on: channel mode, ratio code, pulse-count index
    uint8_t mode = 0;
    uint8_t ratioCode = 1;
    uint8_t pulseIndex = 0;
    double jitterMicroseconds = 0;  // timing noise of every pulse edge (standard deviation)
};

struct TimedFrame {
    int64_t tick;  // 0.5 us since the start
    FrameBytes bytes;
};

class Controller {
public:
    Controller(const ControllerParameters& parameters, const Sensors& sensors, std::mt19937_64& random);

    // The frames of one simulation step from t0 to t1 (seconds), in which the
    // roller turned from r0 to r1 and the engine from e0 to e1 revolutions.
    void observe(double t0, double t1, double r0, double r1, double e0, double e1, std::vector<TimedFrame>& out);
    void command(uint8_t byte);

    uint8_t mode() const { return mode_; }
    uint8_t ratioCode() const { return ratioCode_; }
    uint8_t pulseIndex() const { return pulseIndex_; }

private:
    int64_t edgeTick(double seconds);
    void rollerPulse(int64_t tick, std::vector<TimedFrame>& out);
    void enginePulse(int64_t tick, std::vector<TimedFrame>& out);
    double configuredEngineSignal() const;

    ControllerParameters p_;
    const Sensors& sensors_;
    std::mt19937_64& random_;
    uint8_t mode_, ratioCode_, pulseIndex_;
    int rollerPulsesCounted_ = 0;
    int64_t rollerFrameTick_ = -1;   // pulse that ended the last roller period
    int64_t enginePulseTick_ = -1;
    int64_t engineFrameTick_ = -1000000;
    int64_t nextStatusTick_ = 100000;   // 50 ms
    int64_t nextWeatherTick_ = 1000000; // 0.5 s
};
