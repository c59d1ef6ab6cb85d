#pragma once
// The vehicle on the roller and its driver. The roller (inertia J,
// circumference U) is driven through the wheel by the engine at gear ratio g
// (engine revolutions per roller revolution):
//     J dw/dt = g (T_engine(N) - T_loss(N))
// with w the roller's angular speed, N the engine speed the roller speed
// stands for, and T_loss the drive-train loss referred to the engine, which
// grows with speed. Declutched, only the loss (and the brake) acts on the
// roller, so a coast-down measures the loss.
//
// The driver idles in gear (the roller keeps turning slowly), pulls away at
// part throttle to the pull's start speed, pulls at full load to the limit,
// declutches for the coast-down, brakes the roller down to idle speed and
// engages again; or, in the steady scenario, holds one engine speed.
#include <cstdint>

#include "EngineCurve.h"

struct VehicleParameters {
    double gearRatio = 3.0;       // engine revolutions per roller revolution
    double limitRpm = 6500;       // where the pull ends
    double idleRpm = 900;
    double pullStartRpm = 1500;   // full load from here
    double inertia = 7.05;        // roller, Nms²
    double circumference = 1.25;  // roller, m
    EngineCurve engine;           // full-load torque
    double lossLinear = 3.0;      // drive-train loss at the engine, Nm per 1000 U/min
    double lossQuadratic = 0.0;   // Nm per (1000 U/min)²
    double slip = 0.0;            // wheel slip at the engine's peak torque (fraction)
    double brakeTorque = 300;     // roller brake after the coast-down, Nm at the roller
    double idleSeconds = 5;
    double coastSeconds = 8;
    double steadyRpm = 0;         // > 0: hold this engine speed instead of the cycle
};

enum class DriverPhase { Idle, PullAway, Pull, CoastDown, Brake, Steady };

class Vehicle {
public:
    explicit Vehicle(const VehicleParameters& parameters);

    // Advances by dt seconds (fixed small steps; the driver decides at the
    // start of each step).
    void step(double dt);

    double time() const { return time_; }
    DriverPhase phase() const { return phase_; }
    int cyclesCompleted() const { return cycles_; }
    double throttle() const { return throttle_; }
    bool clutched() const { return clutched_; }

    double rollerRevolutions() const { return rollerAngle_; }  // since the start
    double engineRevolutions() const { return engineAngle_; }
    double rollerSpeed() const { return rollerSpeed_; }        // rad/s
    // Engine speed the roller's speed stands for (U/min), and the engine's
    // own, which differs by the wheel slip or while declutched.
    double rollerRpm() const;
    double engineRpm() const { return engineRpm_; }

    // The model's curves over engine speed: loss, and the torque and power
    // at the wheel referred to the engine (full load minus loss), which a
    // full-load pull recorded on the roller shows.
    double lossTorque(double rpm) const;
    double wheelTorque(double rpm) const { return p_.engine.torque(rpm) - lossTorque(rpm); }
    double wheelPowerKw(double rpm) const;
    double enginePowerKw(double rpm) const;

    const VehicleParameters& parameters() const { return p_; }

private:
    double engineTorque(double rpm, double throttle) const;
    double rollerAcceleration(double speed) const;
    void driver();
    void enterPhase(DriverPhase phase);

    VehicleParameters p_;
    double time_ = 0;
    DriverPhase phase_ = DriverPhase::Idle;
    double phaseStart_ = 0;
    int cycles_ = 0;
    double throttle_ = 0;
    bool clutched_ = true;
    double rollerAngle_ = 0;   // revolutions
    double engineAngle_ = 0;   // revolutions
    double rollerSpeed_ = 0;   // rad/s
    double engineRpm_ = 0;
    double slipNow_ = 0;
};

const char* phaseName(DriverPhase phase);
