#include "RecordingProgram.h"

RecordingProgram::RecordingProgram(const RecordingParameters& parameters, double temper1, double temper2,
                                   double pressure1, double pressure2, double humidity1, double humidity2)
    : p_(parameters), decoder_(live_, settings_) {
    settings_.recordStartMode = p_.startMode;
    settings_.recordStartVal = p_.startValue;
    settings_.recordPeriod = p_.period;
    settings_.recordGearAuto = p_.gearAuto ? 1 : 0;
    settings_.recordGear = p_.gear;
    settings_.mechanicsInertia = p_.inertia;
    settings_.mechanicsWheel = p_.wheel;
    settings_.weatherTemper1 = temper1;
    settings_.weatherTemper2 = temper2;
    settings_.weatherPressure1 = pressure1;
    settings_.weatherPressure2 = pressure2;
    settings_.weatherHumidity1 = humidity1;
    settings_.weatherHumidity2 = humidity2;
    decoder_.setCommandWriter(this);
    decoder_.setRun(this, this);
    // as the measurement dialog opens
    decoder_.resetDeviceSelection();
    decoder_.selectDevice(0);
    times_.reserve(kMaxSamples);
    lambdas_.reserve(kMaxSamples);
}

void RecordingProgram::drain(const std::vector<uint8_t>& bytes, double seconds) {
    if (!deviceChosen_ && seconds >= p_.chooseDevice) {
        deviceChosen_ = true;
        decoder_.selectDevice(p_.device);
    }
    if (!pressed_ && seconds >= p_.pressStart && outcome_ == Outcome::Running) {
        pressed_ = true;
        state_ = RunState::Waiting;
    }
    for (uint8_t byte : bytes) decoder_.feedByte(byte);
}

std::vector<uint8_t> RecordingProgram::takeCommands() {
    std::vector<uint8_t> out;
    out.swap(commands_);
    return out;
}

bool RecordingProgram::writeByte(uint8_t byte) {
    commands_.push_back(byte);
    return true;
}

void RecordingProgram::enterIdle() {
    state_ = RunState::Idle;
    elapsed_ = 0;
}

void RecordingProgram::startRecording() {
    times_.clear();
    lambdas_.clear();
    state_ = RunState::Recording;
    if (settings_.recordPeriod == 0) settings_.recordPeriod = 1;
    durationLimit_ = settings_.recordPeriod * 2000000;
    elapsed_ = 0;
}

void RecordingProgram::rollerFrame(int32_t period) {
    if (state_ == RunState::Waiting) {
        int32_t value = 0;
        if (settings_.recordStartMode == 0)
            value = live_.enginePeriod > 0 ? 120000000 / live_.enginePeriod : 0;
        else
            value = period > 0 ? truncateToInt32(settings_.mechanicsWheel * 2000000 * 3.6 / period) : 0;
        if (value >= settings_.recordStartVal) startRecording();
        return;
    }
    if (state_ != RunState::Recording) return;
    if (elapsed_ > durationLimit_) {
        enterIdle();
        outcome_ = Outcome::Recorded;
        return;
    }
    elapsed_ += period;
    if (times_.size() < kMaxSamples) {
        times_.push_back(elapsed_);
        lambdas_.push_back(live_.recordedLambda());
    }
    if (times_.size() >= kMaxSamples) {
        enterIdle();
        outcome_ = Outcome::TooManySamples;
    }
}

void RecordingProgram::frameApplied() {
    if (state_ != RunState::Recording || live_.enginePeriod == 0) return;
    const double ratio = static_cast<double>(live_.rollerPeriod) / live_.enginePeriod;
    if (elapsed_ <= 2000000) {
        ratioEstimate_ = ratio;
        return;
    }
    ratioEstimate_ = (ratioEstimate_ * 9 + ratio) / 10;
    if (elapsed_ <= 6000000 && settings_.recordGearAuto) settings_.recordGear = ratioEstimate_;
}

Measurement RecordingProgram::measurement() const {
    Measurement m;
    m.sampleCount = static_cast<uint16_t>(times_.size());
    m.temperature = settings_.weatherTemperature;
    m.pressure = static_cast<uint16_t>(settings_.weatherPressure);
    m.humidity = static_cast<uint16_t>(settings_.weatherHumidity);
    m.gearRatio = settings_.recordGear;
    m.recordedAt = p_.recordedAt;
    m.inertia = settings_.mechanicsInertia;
    m.circumference = settings_.mechanicsWheel;
    m.comment = p_.comment;
    m.times = times_;
    if (live_.channelMode != 0) m.lambdaValues = lambdas_;
    return m;
}
