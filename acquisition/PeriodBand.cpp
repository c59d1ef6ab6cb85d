#include "PeriodBand.h"

#include <cmath>
#include <limits>

namespace {
constexpr double kTicksPerSecond = 2000000.0;
constexpr double kPi = 3.14159265358979;
}  // namespace

PeriodBand::PeriodBand(double inertia, double circumference) {
    if (!(inertia > 0) || !(circumference > 0)) return;
    const double radius = circumference / (2 * kPi);
    accelerationTerm_ = kLargestForce * radius / (kPi * inertia);
    shortest_ = static_cast<int32_t>(circumference / (kTopSpeed / 3.6) * kTicksPerSecond);
    if (shortest_ < 1) shortest_ = 1;
}

PeriodBand::Range PeriodBand::after(int32_t previous) const {
    constexpr int64_t kUnlimited = std::numeric_limits<int64_t>::max();
    if (accelerationTerm_ == 0 || previous <= 0) return {shortest_, kUnlimited};
    const double seconds = previous / kTicksPerSecond;
    const double a = accelerationTerm_ * seconds * seconds;
    const double low = previous / std::sqrt(1 + a);
    const int64_t high = a < 1 ? static_cast<int64_t>(std::ceil(previous / std::sqrt(1 - a))) : kUnlimited;
    const int64_t floorLow = static_cast<int64_t>(std::floor(low));
    return {floorLow > shortest_ ? floorLow : shortest_, high};
}

bool PeriodBand::plausible(int32_t previous, int32_t next) const {
    if (next < shortest_) return false;
    const Range range = after(previous);
    return next >= range.low && next <= range.high;
}
