#include "Vehicle.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kPullAwayThrottle = 0.3;
constexpr double kEngineSpinDown = 0.4;  // s, time constant of a declutched engine towards idle

double rpmFromRollerSpeed(double speed, double gear) { return speed * gear * 60 / (2 * kPi); }
double rollerSpeedFromRpm(double rpm, double gear) { return rpm * 2 * kPi / (60 * gear); }

}  // namespace

Vehicle::Vehicle(const VehicleParameters& parameters) : p_(parameters) {
    const double startRpm = p_.steadyRpm > 0 ? p_.steadyRpm : p_.idleRpm;
    rollerSpeed_ = rollerSpeedFromRpm(startRpm, p_.gearRatio);
    engineRpm_ = startRpm;
    enterPhase(p_.steadyRpm > 0 ? DriverPhase::Steady : DriverPhase::Idle);
}

double Vehicle::rollerRpm() const { return rpmFromRollerSpeed(rollerSpeed_, p_.gearRatio); }

double Vehicle::lossTorque(double rpm) const {
    const double k = rpm / 1000;
    return p_.lossLinear * k + p_.lossQuadratic * k * k;
}

double Vehicle::wheelPowerKw(double rpm) const { return wheelTorque(rpm) * rpm * 2 * kPi / 60 / 1000; }
double Vehicle::enginePowerKw(double rpm) const { return p_.engine.torque(rpm) * rpm * 2 * kPi / 60 / 1000; }

double Vehicle::engineTorque(double rpm, double throttle) const {
    // a closed throttle drags the engine
    const double drag = 5 + 3 * rpm / 1000;
    return throttle * p_.engine.torque(rpm) - (1 - throttle) * drag;
}

double Vehicle::rollerAcceleration(double speed) const {
    const double rpm = rpmFromRollerSpeed(speed, p_.gearRatio);
    double torque = -p_.gearRatio * lossTorque(rpm);  // at the roller
    if (clutched_) torque += p_.gearRatio * engineTorque(rpm * (1 + slipNow_), throttle_);
    if (phase_ == DriverPhase::Brake) torque -= p_.brakeTorque;
    return torque / p_.inertia;
}

void Vehicle::enterPhase(DriverPhase phase) {
    phase_ = phase;
    phaseStart_ = time_;
    clutched_ = phase != DriverPhase::CoastDown && phase != DriverPhase::Brake;
}

void Vehicle::driver() {
    const double rpm = rollerRpm();
    const double inPhase = time_ - phaseStart_;
    // an idle or steady governor: the throttle that balances loss and drag,
    // corrected in proportion to the speed error
    auto governor = [&](double target) {
        const double drag = 5 + 3 * rpm / 1000;
        const double balance = (lossTorque(rpm) + drag) / (p_.engine.torque(rpm) + drag);
        return std::clamp(balance + 0.5 * (target - rpm) / 1000, 0.0, 1.0);
    };
    switch (phase_) {
    case DriverPhase::Steady:
        throttle_ = governor(p_.steadyRpm);
        break;
    case DriverPhase::Idle:
        throttle_ = governor(p_.idleRpm);
        if (inPhase >= p_.idleSeconds) enterPhase(DriverPhase::PullAway);
        break;
    case DriverPhase::PullAway:
        throttle_ = kPullAwayThrottle;
        if (rpm >= p_.pullStartRpm) enterPhase(DriverPhase::Pull);
        break;
    case DriverPhase::Pull:
        throttle_ = 1;
        if (rpm >= p_.limitRpm) {
            throttle_ = 0;
            enterPhase(DriverPhase::CoastDown);
        }
        break;
    case DriverPhase::CoastDown:
        throttle_ = 0;
        if (inPhase >= p_.coastSeconds) enterPhase(DriverPhase::Brake);
        break;
    case DriverPhase::Brake:
        throttle_ = 0;
        if (rpm <= p_.idleRpm) {
            ++cycles_;
            enterPhase(DriverPhase::Idle);
        }
        break;
    }
}

void Vehicle::step(double dt) {
    driver();
    // classic Runge-Kutta on the roller's speed; the angle follows the
    // same stages
    const double w0 = rollerSpeed_;
    const double k1 = rollerAcceleration(w0);
    const double k2 = rollerAcceleration(w0 + 0.5 * dt * k1);
    const double k3 = rollerAcceleration(w0 + 0.5 * dt * k2);
    const double k4 = rollerAcceleration(w0 + dt * k3);
    rollerSpeed_ = std::max(0.0, w0 + dt * (k1 + 2 * k2 + 2 * k3 + k4) / 6);
    const double angle = dt * (w0 + dt * (k1 + k2 + k3) / 6);
    rollerAngle_ += std::max(0.0, angle) / (2 * kPi);

    const double rpmBefore = engineRpm_;
    if (clutched_) {
        // tyre slip grows with the driving torque
        const double peak = p_.engine.peakTorque();
        const double drive = std::max(0.0, engineTorque(engineRpm_, throttle_) - lossTorque(rollerRpm()));
        slipNow_ = peak > 0 ? p_.slip * std::min(1.0, drive / peak) : 0;
        engineRpm_ = rollerRpm() * (1 + slipNow_);
    } else {
        slipNow_ = 0;
        engineRpm_ += (p_.idleRpm - engineRpm_) * std::min(1.0, dt / kEngineSpinDown);
    }
    engineAngle_ += (rpmBefore + engineRpm_) / 2 / 60 * dt;
    time_ += dt;
}

const char* phaseName(DriverPhase phase) {
    switch (phase) {
    case DriverPhase::Idle: return "idle";
    case DriverPhase::PullAway: return "pull-away";
    case DriverPhase::Pull: return "pull";
    case DriverPhase::CoastDown: return "coast-down";
    case DriverPhase::Brake: return "brake";
    case DriverPhase::Steady: return "steady";
    }
    return "";
}
