#pragma once
// The program's side of the line for runs without a serial device: the real
// frame decoder, fed by the line, answering status frames with commands, and
// a recording that works as the measurement dialog does. The dialog opens
// with "Geschwind." chosen, so the controller's pulse count and ratio are set
// first; the operator then chooses the device and presses "Start"; the run then waits for its start
// condition, accumulates the roller periods into time stamps for the set
// duration, estimates the gear ratio during its first seconds and ends on
// the first roller frame after the duration has passed.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ControllerProtocol.h"
#include "FrameDecoder.h"
#include "LiveValues.h"
#include "Measurement.h"
#include "Settings.h"

struct RecordingParameters {
    int device = 0;             // device list index the operator chooses ...
    double chooseDevice = 0.5;  // ... this many seconds after opening the dialog
    double pressStart = 1.0;    // s after the start: "Start" is pressed
    int16_t startMode = 0;      // 0 engine speed, 1 road speed
    int16_t startValue = 2000;  // U/min or km/h
    int16_t period = 20;        // run length, s
    bool gearAuto = true;       // else the gear ratio below is written as set
    double gear = 1.0;
    double inertia = 7.05;
    double wheel = 1.25;
    int32_t recordedAt = 1735689600;  // 2025-01-01, so that files are reproducible
    std::wstring comment;
};

class RecordingProgram : public RunStateSource, public RollerFrameConsumer, public CommandWriter {
public:
    enum class Outcome { Running, Recorded, TooManySamples };

    // calibration: what the program's weather settings say about the sensors
    RecordingProgram(const RecordingParameters& parameters, double temper1, double temper2, double pressure1,
                     double pressure2, double humidity1, double humidity2);

    // The bytes of one drain of the serial link, at `seconds`.
    void drain(const std::vector<uint8_t>& bytes, double seconds);
    // Command bytes written since the last call.
    std::vector<uint8_t> takeCommands();

    Outcome outcome() const { return outcome_; }
    RunState runState() const override { return state_; }
    // The recorded run as the dialog would write it.
    Measurement measurement() const;

    const LiveValues& live() const { return live_; }
    const Settings& settings() const { return settings_; }

    // RollerFrameConsumer, CommandWriter
    void rollerFrame(int32_t period) override;
    void frameApplied() override;
    bool writeByte(uint8_t byte) override;

private:
    void enterIdle();
    void startRecording();

    RecordingParameters p_;
    Settings settings_;
    LiveValues live_;
    FrameDecoder decoder_;
    std::vector<uint8_t> commands_;
    RunState state_ = RunState::Idle;
    Outcome outcome_ = Outcome::Running;
    bool pressed_ = false;
    bool deviceChosen_ = false;
    int32_t durationLimit_ = 0;
    int32_t elapsed_ = 0;
    double ratioEstimate_ = 0;
    std::vector<int32_t> times_;
    std::vector<int32_t> lambdas_;
};
