#pragma once
// Vehicle, sensors and controller on one clock, and the serial line that
// carries the controller's frames at 9600 baud (960 bytes a second, one
// after the other), with the faults of a real line on request: bytes lost,
// bits flipped, bytes inserted. The line throws its own dice, so that the
// same seed drives the same vehicle with and without faults.
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
    double byteLoss = 0;     // probability that a byte never arrives
    double byteGarble = 0;   // probability that a byte arrives with one random bit flipped
    double byteExtra = 0;    // probability that a random byte follows a byte
    uint64_t seed = 1;
};

class SerialLine {
public:
    SerialLine(const SimulationParameters& parameters);
    void send(const TimedFrame& frame);
    // Appends the bytes received up to `tick` (0.5 us).
    void take(int64_t tick, std::vector<uint8_t>& out);
    size_t pending() const { return queue_.size(); }

private:
    struct TimedByte {
        int64_t tick;  // end of its transmission
        uint8_t byte;
    };
    void arrive(int64_t tick, uint8_t byte);
    double loss_, garble_, extra_;
    std::mt19937_64 random_;
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
