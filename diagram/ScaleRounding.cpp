#include "ScaleRounding.h"

namespace {

constexpr int32_t kSteps[] = {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000};

int32_t floorMultiple(int32_t v, int32_t s) {
    int32_t q = v / s;
    if (v % s != 0 && v < 0) --q;
    return q * s;
}

int32_t ceilMultiple(int32_t v, int32_t s) {
    int32_t q = v / s;
    if (v % s != 0 && v > 0) ++q;
    return q * s;
}

}  // namespace

void RoundScaleForDiagram(int32_t& minimum, int32_t& maximum, int32_t& step, int direction) {
    // zero intervals would divide by zero; a very low plot asks for one
    const int32_t intervals = step > 0 ? step : 1;
    int32_t lo = minimum, hi = maximum, chosen = kSteps[0];
    for (int32_t s : kSteps) {
        lo = direction == 0 ? floorMultiple(minimum, s) : ceilMultiple(minimum, s);
        hi = direction == 0 ? ceilMultiple(maximum, s) : floorMultiple(maximum, s);
        chosen = s;
        if ((hi - lo) / intervals <= s) break;
    }
    minimum = lo;
    maximum = hi;
    step = chosen;
}
