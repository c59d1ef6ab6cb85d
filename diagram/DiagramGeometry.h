#pragma once
// Integer geometry of the diagram: rectangles and points in device units or
// scaled values, the rounding multiply-divide the drawing code uses, the
// surface a drawing goes to (with the resolution by which tenths of a
// millimetre become device units) and the frame of one axis pair.
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

// What a drawing goes to: the device's pixels per inch, and whether it is
// paper (the printer) rather than a screen or a bitmap. Every drawing and
// layout function is given one; nothing about the device is kept elsewhere.
struct Surface {
    int32_t dpiX = 96;
    int32_t dpiY = 96;
    bool paper = false;

    // Tenths of a millimetre in device units, horizontally and vertically.
    int32_t MmX(int32_t tenths) const;
    int32_t MmY(int32_t tenths) const;
};

// One axis pair as it is drawn: the plot area in device units, the visible
// range in scaled values (top > bottom for a visible Y range) and the Y
// quantity drawn against the diagram's X quantity.
struct AxisFrame {
    IntRect plot;
    IntRect view;
    int32_t quantity = 0;

    int32_t ToDeviceX(int32_t value) const;
    int32_t ToDeviceY(int32_t value) const;
    // Both corners of a device rectangle in scaled values.
    IntRect ToData(const IntRect& device) const;
};

// Left ≤ right and top ≤ bottom.
IntRect normalised(IntRect r);
