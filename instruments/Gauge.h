#pragma once
// CGauge: the round dial of the measurement dialog (road speed, engine
// speed). A 270° scale with dots and numbers on the dial picture "GAUGE1",
// an anti-aliased red needle, the value as text in the lower half and the
// translucent pictures "GAUGE3" and "GAUGE2" over it all. The window text is
// the value's format ("%d km/h").
#include <cstdint>
#include <vector>

#include "Instr.h"

class CGauge : public CInstr {
public:
    int Paint(CDC* dc) override;
    void DrawBackground(CDC& dc) override;

    // Needle and scale angle of a value in radians (45° at the minimum).
    double AngleOf(int32_t v) const;
    // The scale as the background shows it, for the window's client area.
    std::vector<ScaleMark> ScaleMarks() const;
    // Tail and tip of the needle for the current value in a client area.
    void NeedleEnds(const RECT& client, POINT& tail, POINT& tip) const;
    // The box the value text fills for the current value, for the window's
    // client area: clear of every scale number and dot.
    RECT ValueTextBox() const;

    int32_t labelFontHeight = 18;  // cell height of the scale numbers
    int32_t valueFontHeight = 20;  // cell height of the value text

private:
    // `dc` has the label font selected; `client` is the full client area.
    std::vector<ScaleMark> ScaleMarks(HDC dc, const RECT& client) const;
    RECT ValueTextBox(HDC dc, const RECT& client) const;
    void DrawMovingParts(CDC& frame) const;
};

// The dial pictures are stretched beyond the window by this much on every
// side, so their outer band lies outside it.
constexpr int kDialPictureMargin = 25;
