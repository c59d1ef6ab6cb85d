#pragma once
// Integer geometry of the diagram: rectangles and points in device units or
// scaled values, the rounding multiply-divide the drawing code uses, and the
// device resolution with which tenths of a millimetre become device units.
#include <cstdint>

struct IntPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// Same field order as the window system's rectangle. For data rectangles
// top and bottom hold Y values (top > bottom for a visible range).
struct IntRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
};

inline bool operator==(const IntRect& a, const IntRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const IntRect& a, const IntRect& b) { return !(a == b); }

// a × b / c over 64 bits, rounded to the nearest integer with halves away
// from zero; -1 for c = 0 or a result beyond 32 bits (as the platform's own).
int32_t mulDiv(int32_t a, int32_t b, int32_t c);

// Pixels per inch of the device the diagram is being laid out for. Paint and
// the page layout set it from their device before converting any distance.
struct DeviceResolution {
    int32_t x = 96;
    int32_t y = 96;
};

// The one program-wide resolution.
DeviceResolution& theResolution();

// Tenths of a millimetre in device units, horizontally and vertically.
int32_t MmX(int32_t tenths);
int32_t MmY(int32_t tenths);

// Left ≤ right and top ≤ bottom.
IntRect normalised(IntRect r);
