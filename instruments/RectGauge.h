#pragma once
// CRectGauge: a section of a dial in a wide, low rectangle (air/fuel ratio,
// throttle). The dial's circle is fitted through the rectangle so that the
// visible arc fills its width; the scale numbers are tenths of the value; the
// mixture icons "FETT" (rich, at the low ratios) and "MAGER" mark the upper
// corners; style 1 has a
// fixed coloured sector. The needle is three plain lines under a hub disc.
#include <cstdint>
#include <vector>

#include "Instr.h"

// Dial sections: 0 the whole 270° dial, 1 the upper half (130°..230°), 2 the
// lower half (410° down to 310°, through straight down), 3 the left side
// (40°..140°), 4 the right side (240°..320°).
constexpr int32_t kRectGaugeStyleCount = 5;

class CRectGauge : public CInstr {
public:
    int Paint(CDC* dc) override;
    void DrawBackground(CDC& dc) override;

    // Needle and scale angle of a value in radians.
    double AngleOf(int32_t v) const;
    // For styles 1 and 2 widens `rect` to the square around the circle
    // through both lower (style 1) or upper (style 2) corners and the middle
    // of the opposite edge; then, for every style, shrinks it by 15 pixels.
    void FitDialCircle(RECT& rect) const;
    // The scale as the background shows it (after the background has set the
    // style's angles and rounded the range), for the window's client area.
    std::vector<ScaleMark> ScaleMarks() const;
    // Tail and tip of the needle for the current value in a client area.
    void NeedleEnds(const RECT& client, POINT& tail, POINT& tip) const;
    // Where the value text goes in a client area.
    RECT ValueTextRect(const RECT& client) const;
    // Where the mixture icon "FETT" (rich) or "MAGER" goes in a client area.
    RECT MixtureIconRect(const RECT& client, bool rich) const;

    int32_t labelFontHeight = 14;  // cell height of the scale numbers
    int32_t valueFontHeight = 17;  // cell height of the value text
    int32_t style = 1;             // dial section, 0..4
    int32_t startAngle = 0;        // dial angle of the minimum, degrees (set by DrawBackground)
    int32_t endAngle = 0;          // dial angle of the maximum, degrees (set by DrawBackground)

private:
    RECT PictureArea(const RECT& client) const;
    std::vector<ScaleMark> ScaleMarks(HDC dc, const RECT& client) const;
    void DrawMarkedSector(HDC dc, const RECT& dial) const;
    void DrawMovingParts(CDC& frame) const;
};
