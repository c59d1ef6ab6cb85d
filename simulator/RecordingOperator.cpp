#include "RecordingOperator.h"

Settings recordingSettings(const RecordingParameters& p, const double (&calibration)[6]) {
    Settings s;
    s.recordStartMode = p.startMode;
    s.recordStartVal = p.startValue;
    s.recordPeriod = p.period;
    s.recordGearAuto = p.gearAuto ? 1 : 0;
    s.recordGear = p.gear;
    s.mechanicsInertia = p.inertia;
    s.mechanicsWheel = p.wheel;
    s.recordComment = p.comment;
    s.weatherTemper1 = calibration[0];
    s.weatherTemper2 = calibration[1];
    s.weatherPressure1 = calibration[2];
    s.weatherPressure2 = calibration[3];
    s.weatherHumidity1 = calibration[4];
    s.weatherHumidity2 = calibration[5];
    return s;
}

RecordingOperator::RecordingOperator(const RecordingParameters& parameters, const double (&calibration)[6])
    : p_(parameters), session_(recordingSettings(parameters, calibration)) {}

void RecordingOperator::drain(const std::vector<uint8_t>& bytes, double seconds) {
    if (!deviceChosen_ && seconds >= p_.chooseDevice) {
        deviceChosen_ = true;
        session_.chooseDevice(p_.device);
    }
    if (!pressed_ && seconds >= p_.pressStart) {
        pressed_ = true;
        session_.pressStart();
    }
    session_.feed(bytes.data(), bytes.size());
}
