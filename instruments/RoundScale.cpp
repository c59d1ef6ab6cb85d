#include "RoundScale.h"

#include <limits>

namespace {

const int32_t kSteps[] = {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000};

int64_t FloorToMultiple(int64_t value, int64_t step) {
    int64_t quotient = value / step;
    if (value % step != 0 && value < 0) --quotient;
    return quotient * step;
}

int64_t CeilToMultiple(int64_t value, int64_t step) {
    int64_t quotient = value / step;
    if (value % step != 0 && value > 0) ++quotient;
    return quotient * step;
}

int32_t Clamped(int64_t value) {
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

}  // namespace

void RoundScale(int32_t& minimum, int32_t& maximum, int32_t& step, int direction) {
    // fewer than one interval would divide by zero; one is the least that makes sense
    int64_t intervals = step < 1 ? 1 : step;
    int64_t low = minimum;
    int64_t high = maximum;
    for (int32_t candidate : kSteps) {
        if (direction == kScaleOutward) {
            low = FloorToMultiple(minimum, candidate);
            high = CeilToMultiple(maximum, candidate);
        } else {
            low = CeilToMultiple(minimum, candidate);
            high = FloorToMultiple(maximum, candidate);
        }
        step = candidate;
        if ((high - low) / intervals <= candidate) break;
    }
    minimum = Clamped(low);
    maximum = Clamped(high);
}
