#pragma once
// The operator at the measurement dialog, for runs without a serial device:
// the program's own recording (RecordingSession: the real frame decoder and
// measurement run) fed by the simulated line, with the operator's steps on
// the simulated clock. The dialog opens with "Geschwind." chosen, so the
// controller's pulse count and ratio are set first; the operator then
// chooses the device and presses "Start".
#include <cstdint>
#include <string>
#include <vector>

#include "RecordingSession.h"
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

// The settings a program set up for these parameters has; `calibration`
// holds the weather sensors' Temper1/2, Pressure1/2, Humidity1/2.
Settings recordingSettings(const RecordingParameters& parameters, const double (&calibration)[6]);

class RecordingOperator {
public:
    RecordingOperator(const RecordingParameters& parameters, const double (&calibration)[6]);

    // The bytes of one drain of the serial link, at `seconds`.
    void drain(const std::vector<uint8_t>& bytes, double seconds);
    std::vector<uint8_t> takeCommands() { return session_.takeCommands(); }

    RecordingSession& session() { return session_; }
    const LiveValues& live() const { return session_.live(); }
    const Settings& settings() const { return session_.settings(); }

private:
    RecordingParameters p_;
    RecordingSession session_;
    bool pressed_ = false;
    bool deviceChosen_ = false;
};
