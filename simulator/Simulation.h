#pragma once
// Vehicle, sensors and controller on one clock, and the serial line that
// carries the controller's frames at 9600 baud (960 bytes a second, one
// after the other), losing bytes on request.
#include <cstdint>
#include <deque>
#include <random>
#include <vector>

#include "Controller.h"
#include "Sensors.h"
#include "Vehicle.h"

struct SimulationParameters {
    VehicleParameters vehicle;
    ControllerParameters controller;
    SensorParameters sensors;
    double byteLoss = 0;  // probability that a byte never arrives
    uint64_t seed = 1;
};

class SerialLine {
public:
    SerialLine(double lossProbability, std::mt19937_64& random) : loss_(lossProbability), random_(random) {}
    void send(const TimedFrame& frame);
    // Appends the bytes received up to `tick` (0.5 us).
    void take(int64_t tick, std::vector<uint8_t>& out);
    size_t pending() const { return queue_.size(); }

private:
    struct TimedByte {
        int64_t tick;  // end of its transmission
        uint8_t byte;
    };
    double loss_;
    std::mt19937_64& random_;
    std::deque<TimedByte> queue_;
    double free_ = 0;  // tick at which the line is idle again
};

class Simulation {
public:
    static constexpr double kStep = 1e-4;  // s

    explicit Simulation(const SimulationParameters& parameters);

    // Runs the physics up to `seconds` and queues the frames on the line.
    void advanceTo(double seconds);
    // The bytes that have arrived at the program's end up to `seconds`.
    void takeBytes(double seconds, std::vector<uint8_t>& out);
    // A command byte from the program.
    void command(uint8_t byte) { controller_.command(byte); }

    double time() const { return vehicle_.time(); }
    const Vehicle& vehicle() const { return vehicle_; }
    const Controller& controller() const { return controller_; }
    const Sensors& sensors() const { return sensors_; }

private:
    SimulationParameters p_;
    std::mt19937_64 random_;
    Vehicle vehicle_;
    Sensors sensors_;
    Controller controller_;
    SerialLine line_;
    std::vector<TimedFrame> frames_;
    int64_t steps_ = 0;
};
