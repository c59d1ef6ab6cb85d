#include "Gauge.h"

#include <objidl.h>  // PROPID, left out by WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include <cmath>
#include <string>

#include "DialGeometry.h"
#include "GdiPlus.h"

namespace {

constexpr COLORREF kDotColour = RGB(255, 255, 127);
constexpr COLORREF kLabelShadow = RGB(0, 0, 0);
constexpr COLORREF kLabelColour = RGB(255, 255, 100);
constexpr int kDotPen = 6;

// One stroke of the needle: a fresh pen in world units, deleted after use.
struct NeedleStroke {
    Gdiplus::ARGB colour;
    float width;
    bool triangleCaps;
    int offset;  // both ends moved by (offset, offset)
};

// Light edge up and left, dark edge down and right, the red body, a yellow
// core: the needle looks round under the glass.
const NeedleStroke kNeedleStrokes[] = {
    {0xFFFF7F7F, 7.0f, true, -1},
    {0xFF320000, 7.0f, true, 1},
    {0xFFF00000, 7.0f, true, 0},
    {0xFFFFFF00, 3.0f, false, 0},
};

void DrawAntiAliasedNeedle(HDC dc, POINT tail, POINT tip) {
    using namespace Gdiplus::DllExports;
    if (!GdiPlusReady()) return;
    Gdiplus::GpGraphics* graphics = nullptr;
    if (GdipCreateFromHDC(dc, &graphics) == Gdiplus::Ok) {
        GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeAntiAlias);
        for (const NeedleStroke& stroke : kNeedleStrokes) {
            Gdiplus::GpPen* pen = nullptr;
            if (GdipCreatePen1(stroke.colour, stroke.width, Gdiplus::UnitWorld, &pen) != Gdiplus::Ok) continue;
            if (stroke.triangleCaps) {
                GdipSetPenStartCap(pen, Gdiplus::LineCapTriangle);
                GdipSetPenEndCap(pen, Gdiplus::LineCapTriangle);
            }
            GdipDrawLineI(graphics, pen, tail.x + stroke.offset, tail.y + stroke.offset, tip.x + stroke.offset,
                          tip.y + stroke.offset);
            GdipDeletePen(pen);
        }
        GdipDeleteGraphics(graphics);
    }
}

// The dial pictures cover the client area and 25 pixels around it.
void DrawDialPicture(const wchar_t* name, HDC dc, const RECT& client, int alpha) {
    DrawBitmapResource(name, dc, client.left - kDialPictureMargin, client.top - kDialPictureMargin,
                       client.right + 2 * kDialPictureMargin, client.bottom + 2 * kDialPictureMargin, alpha);
}

}  // namespace

double CGauge::AngleOf(int32_t v) const {
    return RoundDialAngle(v, minimum, maximum);
}

std::vector<ScaleMark> CGauge::ScaleMarks(HDC dc, const RECT& client) const {
    RECT r = client;
    InflateRect(&r, -10, -10);
    return DialScaleMarks(dc, r, minimum, maximum, step, [this](int32_t v) { return AngleOf(v); },
                          [](int32_t v) { return std::to_wstring(v); });
}

std::vector<ScaleMark> CGauge::ScaleMarks() const {
    return MeasuredScaleMarks(hwnd, labelFontHeight,
                              [this](HDC dc, const RECT& client) { return ScaleMarks(dc, client); });
}

void CGauge::DrawBackground(CDC& dc) {
    RECT client{};
    dc.GetRect(&client);
    DrawDialPicture(L"GAUGE1", dc.hdc, client, 255);
    GdiSelection pen = SelectPen(dc.hdc, PS_SOLID, kDotPen, kDotColour);
    FontSelection font = CreateBoldFont(dc.hdc, labelFontHeight, L"Arial");
    const int oldMode = SetBkMode(dc.hdc, TRANSPARENT);
    for (const ScaleMark& mark : ScaleMarks(dc.hdc, client)) {
        DrawLine(dc.hdc, mark.dot.x, mark.dot.y, mark.dot.x, mark.dot.y);
        DrawTwoToneText(dc.hdc, mark.text.c_str(), mark.label, kLabelShadow, -1, -1, kLabelColour);
    }
    SetBkMode(dc.hdc, oldMode);
}

void CGauge::NeedleEnds(const RECT& client, POINT& tail, POINT& tip) const {
    const int cx = (client.left + client.right) / 2;
    const int h = client.bottom - client.top;
    const int cy = h / 2;
    const double angle = AngleOf(value);
    const int dx = static_cast<int>(std::sin(angle) * (client.right - client.left) / -2.5);
    const int dy = static_cast<int>(std::cos(angle) * h / 2.5);
    tail = {cx - dx / 3, cy - dy / 3};
    tip = {cx + dx, cy + dy};
}

// The value text sits centred in the lower half of the dial. A long text
// ("3628 U/min") is wider than the gap between the scale's ends, so where it
// would meet a number or dot there it goes down below the lowest of them.
RECT CGauge::ValueTextBox(HDC dc, const RECT& client) const {
    std::vector<ScaleMark> marks;
    {
        FontSelection font = CreateBoldFont(dc, labelFontHeight, L"Arial");
        marks = ScaleMarks(dc, client);
    }
    FontSelection font = CreateBoldFont(dc, valueFontHeight, L"Arial");
    const std::wstring text = ValueText();
    RECT measured{};
    DrawTextW(dc, text.c_str(), -1, &measured, DT_SINGLELINE | DT_CALCRECT);
    const int tw = measured.right - measured.left, th = measured.bottom - measured.top;
    const int cx = (client.left + client.right) / 2, cy = (client.top + 3 * client.bottom) / 4;
    RECT box{cx - tw / 2, cy - th / 2, cx - tw / 2 + tw, cy - th / 2 + th};
    // the texts are drawn twice, one pixel apart, and the dots are six pixels wide
    constexpr int kClearance = 2;
    for (bool moved = true; moved;) {
        moved = false;
        for (const ScaleMark& mark : marks) {
            const RECT dot{mark.dot.x - kDotPen / 2, mark.dot.y - kDotPen / 2, mark.dot.x + kDotPen / 2 + 1,
                           mark.dot.y + kDotPen / 2 + 1};
            for (RECT taken : {mark.label, dot}) {
                InflateRect(&taken, kClearance, kClearance);
                RECT both{};
                if (!IntersectRect(&both, &box, &taken)) continue;
                OffsetRect(&box, 0, taken.bottom - box.top);
                moved = true;
            }
        }
    }
    return box;
}

RECT CGauge::ValueTextBox() const {
    RECT client{};
    if (hwnd) GetClientRect(hwnd, &client);
    HDC dc = CreateCompatibleDC(nullptr);
    const RECT box = ValueTextBox(dc, client);
    DeleteDC(dc);
    return box;
}

void CGauge::DrawMovingParts(CDC& frame) const {
    HDC dc = frame.hdc;
    RECT r{};
    frame.GetRect(&r);
    POINT tail{}, tip{};
    NeedleEnds(r, tail, tip);
    DrawAntiAliasedNeedle(dc, tail, tip);

    const RECT textRect = ValueTextBox(dc, r);
    {
        FontSelection font = CreateBoldFont(dc, valueFontHeight, L"Arial");
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        DrawTwoToneText(dc, ValueText().c_str(), textRect, RGB(255, 255, 255), 1, 1,
                       RGB(0, 0, 0));
        SetBkMode(dc, oldMode);
    }
    DrawDialPicture(L"GAUGE3", dc, r, 255);
    DrawDialPicture(L"GAUGE2", dc, r, 80);
}

int CGauge::Paint(CDC* dc) {
    if (!dc) return 1;
    PaintComposed(dc, [this](CDC& frame) { DrawMovingParts(frame); });
    return 1;
}
