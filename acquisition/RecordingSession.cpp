#include "RecordingSession.h"

#include <utility>

RecordingSession::RecordingSession(const Settings& settings)
    : settings_(settings), run_(live_, settings_, gearEstimate_), decoder_(live_, settings_) {
    decoder_.setCommandWriter(this);
    decoder_.setRun(&run_, &run_);
    run_.allocate();
    // as the measurement dialog opens
    decoder_.resetDeviceSelection();
    decoder_.selectDevice(0);
}

void RecordingSession::feed(const uint8_t* bytes, size_t count) {
    for (size_t i = 0; i < count && outcome_ == Outcome::Running; ++i) {
        decoder_.feedByte(bytes[i]);
        switch (run_.takeEnding()) {
        case MeasurementRun::Ending::None:
        case MeasurementRun::Ending::LineLost:  // a capture has no serial line to lose
            break;
        case MeasurementRun::Ending::Complete:
            outcome_ = Outcome::Complete;
            break;
        case MeasurementRun::Ending::TooManySamples:
            outcome_ = Outcome::TooManySamples;
            break;
        }
    }
}

std::vector<uint8_t> RecordingSession::takeCommands() { return std::exchange(commands_, {}); }

void RecordingSession::endOfStream() {
    if (outcome_ == Outcome::Running && run_.runState() == RunState::Recording) run_.endRecording();
}

bool RecordingSession::writeByte(uint8_t byte) {
    commands_.push_back(byte);
    return true;
}
