#include "DiagramGeometry.h"

#include <algorithm>

int32_t mulDiv(int32_t a, int32_t b, int32_t c) {
    if (c == 0) return -1;
    const int64_t product = int64_t(a) * b;
    const int64_t half = (c < 0 ? -int64_t(c) : int64_t(c)) / 2;
    // round half away from zero: grow the magnitude of the product first
    const bool negative = (product < 0) != (c < 0);
    const int64_t magnitude = (product < 0 ? -product : product) + half;
    const int64_t quotient = magnitude / (c < 0 ? -int64_t(c) : int64_t(c));
    const int64_t result = negative ? -quotient : quotient;
    if (result > INT32_MAX || result < INT32_MIN) return -1;
    return int32_t(result);
}

DeviceResolution& theResolution() {
    static DeviceResolution resolution;
    return resolution;
}

int32_t MmX(int32_t tenths) { return mulDiv(tenths, theResolution().x, 254); }
int32_t MmY(int32_t tenths) { return mulDiv(tenths, theResolution().y, 254); }

IntRect normalised(IntRect r) {
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}
