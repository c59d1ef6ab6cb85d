#pragma once
// CInstr: base of the live instruments (round gauge, rectangular gauge,
// lamp). It owns the integer value and range, a cached background picture the
// size of the client area that is drawn again only when the range or the
// caption changes, and the redraw policy: a value change repaints at once,
// an unchanged value costs nothing.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Drawing.h"
#include "MemDC.h"
#include "Wnd.h"

// One labelled mark of a dial scale: the value, its dot and the rectangle
// its label is centred in.
struct ScaleMark {
    int32_t value = 0;
    POINT dot{};
    RECT label{};
    std::wstring text;
};

class CInstr : public CWnd {
public:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // over-ride: the static picture (dial, scale, caption) onto `dc`
    virtual void DrawBackground(CDC& dc) { (void)dc; }

    // Stores the range, rounds it outward to a scale of about 10 intervals,
    // renders the background again; the window repaints with its next paint.
    void SetRange(int32_t newMinimum, int32_t newMaximum);
    // Clamps to maximum, then to minimum; repaints at once only on a change.
    void SetValue(int32_t newValue);
    // Fills the background with the parent's static-control brush and draws
    // DrawBackground into it.
    void RenderBackground();

    // The window text (at most 31 characters): caption or value format.
    std::wstring Caption() const;
    // The caption used as format with the value as its integer argument.
    std::wstring ValueText() const;

    int32_t maximum = 0;
    int32_t minimum = 0;
    int32_t step = 0;   // wanted intervals going into RoundScale, the scale step after
    int32_t value = 0;
    std::unique_ptr<BitmapHolder> background;

protected:
    // Flicker-free painting: the cached background and then the moving parts
    // are drawn off-screen; the finished frame reaches `dc` in one transfer.
    void PaintComposed(CDC* dc, const std::function<void(CDC& frame)>& drawMovingParts);

private:
    void CreateBackground();
};

// The labelled marks of a dial scale in the rectangle `dial`: one every
// `step` (1 when not positive) from minimum to maximum, at most 1000 (a silly
// range must not hang the dialog). angleOf places a value on the dial
// (radians, 0 straight down, clockwise), labelOf gives its text, measured in
// the font selected into `dc`. The dots lie on a circle of dial / 2.2, the
// labels are centred on one of (dial - label) / 2.3.
std::vector<ScaleMark> DialScaleMarks(HDC dc, const RECT& dial, int32_t minimum, int32_t maximum, int32_t step,
                                      const std::function<double(int32_t)>& angleOf,
                                      const std::function<std::wstring(int32_t)>& labelOf);

// The scale marks an instrument window draws, measured in a memory context
// with the bold Arial label font of `labelFontHeight`: marksIn gets that
// context and the window's client rectangle (empty without a window).
std::vector<ScaleMark> MeasuredScaleMarks(HWND window, int32_t labelFontHeight,
                                          const std::function<std::vector<ScaleMark>(HDC, const RECT&)>& marksIn);

// Puts `instrument` in place of a placeholder static of a dialog: same
// rectangle, control id and text (caption or format, at most 31 characters),
// style child + visible + group. Then SetRange(minimum, maximum) and
// SetValue(0). The framework owns the instrument; null on failure.
CInstr* ReplacePlaceholder(HWND placeholder, CInstr* instrument, int32_t minimum, int32_t maximum);
