#include "Simulation.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kTicksPerByte = 2000000.0 / 960;  // start, 8 data and stop bit at 9600 baud
// the controller's transmit buffer holds 16 frames; what does not fit is
// never sent (a pulse-count setting far too low for the roller's speed)
constexpr double kMaxBacklog = 64 * kTicksPerByte;
}  // namespace

void SerialLine::send(const TimedFrame& frame) {
    free_ = std::max(free_, static_cast<double>(frame.tick));
    if (free_ - frame.tick > kMaxBacklog) return;
    std::bernoulli_distribution lost(loss_);
    for (uint8_t byte : frame.bytes) {
        free_ += kTicksPerByte;
        if (loss_ > 0 && lost(random_)) continue;
        queue_.push_back({static_cast<int64_t>(std::ceil(free_)), byte});
    }
}

void SerialLine::take(int64_t tick, std::vector<uint8_t>& out) {
    while (!queue_.empty() && queue_.front().tick <= tick) {
        out.push_back(queue_.front().byte);
        queue_.pop_front();
    }
}

Simulation::Simulation(const SimulationParameters& parameters)
    : p_(parameters), random_(parameters.seed), vehicle_(parameters.vehicle), sensors_(parameters.sensors),
      controller_(parameters.controller, sensors_, random_), line_(parameters.byteLoss, random_) {}

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
