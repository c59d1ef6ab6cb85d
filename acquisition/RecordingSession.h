#pragma once
// A measurement dialog without its window, for recording from a byte stream
// that does not come from a serial port (a capture file, the simulator): the
// program's own decoder and measurement run on settings of its own, with the
// operator's steps as calls. It opens as the dialog does ("Geschwind."
// chosen), answers status frames with commands while idle, and writes the
// run as the dialog's save would.
#include <cstdint>
#include <string>
#include <vector>

#include "ControllerProtocol.h"
#include "FrameDecoder.h"
#include "LiveValues.h"
#include "MeasurementRun.h"
#include "Settings.h"

class RecordingSession : public CommandWriter {
public:
    enum class Outcome { Running, Complete, TooManySamples };

    explicit RecordingSession(const Settings& settings);
    RecordingSession(const RecordingSession&) = delete;
    RecordingSession& operator=(const RecordingSession&) = delete;

    // The device list's choice and "Start".
    void chooseDevice(int index) { decoder_.selectDevice(index); }
    void pressStart() { run_.startWaiting(); }
    // Received bytes, in order; a run that ends stops taking them, so that
    // the bytes after its end change nothing of it.
    void feed(const uint8_t* bytes, size_t count);
    // The command bytes written since the last call.
    std::vector<uint8_t> takeCommands();
    // The stream has ended: a run still recording ends with what it has.
    void endOfStream();

    Outcome outcome() const { return outcome_; }
    bool recording() const { return run_.runState() == RunState::Recording; }
    // The dialog's save of the run.
    bool write(const std::wstring& path, int32_t recordedAt) { return run_.write(path, recordedAt); }

    const MeasurementRun& run() const { return run_; }
    const LiveValues& live() const { return live_; }
    const Settings& settings() const { return settings_; }

    bool writeByte(uint8_t byte) override;

private:
    Settings settings_;
    LiveValues live_;
    double gearEstimate_ = 0;
    MeasurementRun run_;
    FrameDecoder decoder_;
    std::vector<uint8_t> commands_;
    Outcome outcome_ = Outcome::Running;
};
