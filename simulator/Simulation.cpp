#include "Simulation.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kTicksPerByte = 2000000.0 / 960;  // start, 8 data and stop bit at 9600 baud
// the controller's transmit buffer holds 16 frames; what does not fit is
// never sent (a pulse-count setting far too low for the roller's speed)
constexpr double kMaxBacklog = 64 * kTicksPerByte;
}  // namespace

// the line's dice, apart from the vehicle's and the sensors'
SerialLine::SerialLine(const SimulationParameters& p)
    : loss_(p.byteLoss), garble_(p.byteGarble), extra_(p.byteExtra), random_(p.seed ^ 0x6C696E65u) {}

void SerialLine::send(const TimedFrame& frame) {
    free_ = std::max(free_, static_cast<double>(frame.tick));
    if (free_ - frame.tick > kMaxBacklog) return;
    for (uint8_t byte : frame.bytes) {
        free_ += kTicksPerByte;
        arrive(static_cast<int64_t>(std::ceil(free_)), byte);
    }
}

void SerialLine::arrive(int64_t tick, uint8_t byte) {
    if (loss_ > 0 && std::bernoulli_distribution(loss_)(random_)) return;
    if (garble_ > 0 && std::bernoulli_distribution(garble_)(random_))
        byte ^= static_cast<uint8_t>(1u << std::uniform_int_distribution<int>(0, 7)(random_));
    queue_.push_back({tick, byte});
    // an inserted byte takes no time of its own: noise on the wire between two bytes
    if (extra_ > 0 && std::bernoulli_distribution(extra_)(random_))
        queue_.push_back({tick, static_cast<uint8_t>(std::uniform_int_distribution<int>(0, 255)(random_))});
}

void SerialLine::take(int64_t tick, std::vector<uint8_t>& out) {
    while (!queue_.empty() && queue_.front().tick <= tick) {
        out.push_back(queue_.front().byte);
        queue_.pop_front();
    }
}

Simulation::Simulation(const SimulationParameters& parameters)
    : p_(parameters), random_(parameters.seed), vehicle_(parameters.vehicle), sensors_(parameters.sensors),
      controller_(parameters.controller, sensors_, random_), line_(parameters) {}

void Simulation::advanceTo(double seconds) {
    while ((steps_ + 1) * kStep <= seconds + 1e-12) {
        const double t0 = steps_ * kStep;
        const double r0 = vehicle_.rollerRevolutions(), e0 = vehicle_.engineRevolutions();
        vehicle_.step(kStep);
        ++steps_;
        sensors_.update(vehicle_, kStep);
        frames_.clear();
        controller_.observe(t0, steps_ * kStep, r0, vehicle_.rollerRevolutions(), e0, vehicle_.engineRevolutions(),
                            frames_);
        for (const TimedFrame& frame : frames_) line_.send(frame);
    }
}

void Simulation::takeBytes(double seconds, std::vector<uint8_t>& out) {
    line_.take(std::llround(seconds * 2000000), out);
}
