#pragma once
// How much a roller's period can change from one revolution to the next.
// The roller's inertia J lets its angular speed w change only by the torque
// the tyre can put on it: |dw/dt| <= F r / J with F the largest tractive
// (or braking) force a driven axle passes to a roller and r the roller's
// radius. Over one revolution (angle 2 pi) that gives
// w1^2 = w0^2 +- 4 pi F r / J, so a period T0 is followed by one between
// T0 / sqrt(1 + a) and T0 / sqrt(1 - a) with a = F r T0^2 / (pi J):
// narrow at speed, wide at walking pace, where only the spike test of the
// revolution filter can tell.
#include <cstdint>

class PeriodBand {
public:
    // A heavy vehicle's driven axle on a steel roller at its friction limit.
    static constexpr double kLargestForce = 20000.0;  // N
    // No vehicle on a roller dynamometer turns it faster than this.
    static constexpr double kTopSpeed = 500.0;  // km/h

    // `inertia` in Nms^2, `circumference` in m; a roller without either
    // limits nothing but the sign.
    PeriodBand(double inertia, double circumference);

    // The periods (ticks of 0.5 us) a revolution may take after one of `previous`.
    struct Range {
        int64_t low, high;
    };
    Range after(int32_t previous) const;
    bool plausible(int32_t previous, int32_t next) const;
    // The shortest period of any revolution.
    int32_t shortest() const { return shortest_; }

private:
    double accelerationTerm_ = 0;  // F r / (pi J), per s^2
    int32_t shortest_ = 1;
};
