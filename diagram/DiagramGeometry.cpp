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

int32_t Surface::MmX(int32_t tenths) const { return mulDiv(tenths, dpiX, 254); }
int32_t Surface::MmY(int32_t tenths) const { return mulDiv(tenths, dpiY, 254); }

namespace {

// v × num / den over 64 bits, truncating toward zero; 0 for den = 0 (a plot
// area or a range without extent).
int32_t scale(int32_t v, int32_t num, int32_t den) {
    if (den == 0) return 0;
    return int32_t(int64_t(v) * num / den);
}

}  // namespace

int32_t AxisFrame::ToDeviceX(int32_t v) const {
    return plot.left + scale(v - view.left, plot.right - plot.left, view.right - view.left);
}

int32_t AxisFrame::ToDeviceY(int32_t v) const {
    return plot.top + scale(v - view.top, plot.bottom - plot.top, view.bottom - view.top);
}

IntRect AxisFrame::ToData(const IntRect& r) const {
    const int32_t pw = plot.right - plot.left, ph = plot.bottom - plot.top;
    const int32_t vw = view.right - view.left, vh = view.bottom - view.top;
    return {view.left + scale(r.left - plot.left, vw, pw), view.top + scale(r.top - plot.top, vh, ph),
            view.left + scale(r.right - plot.left, vw, pw), view.top + scale(r.bottom - plot.top, vh, ph)};
}

IntRect normalised(IntRect r) {
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}
