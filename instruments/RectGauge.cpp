#include "RectGauge.h"

#include <cmath>
#include <string>

#include "DialGeometry.h"
#include "FrameworkState.h"
#include "RoundScale.h"

namespace {

enum PictureKind { kWholePicture, kUpperHalfPicture, kLowerHalfPicture };
enum ValueTextKind { kLowerHalfText, kLowerThirdText, kTopQuarterText, kWholeText };

struct SectionStyle {
    int32_t startAngle;
    int32_t endAngle;
    int32_t intervals;
    PictureKind picture;
    ValueTextKind valueText;
};

const SectionStyle kStyles[kRectGaugeStyleCount] = {
    {45, 315, 10, kWholePicture, kLowerHalfText},
    {130, 230, 5, kUpperHalfPicture, kLowerThirdText},
    {410, 310, 5, kLowerHalfPicture, kTopQuarterText},
    {40, 140, 5, kWholePicture, kWholeText},
    {240, 320, 5, kWholePicture, kWholeText},
};

const SectionStyle* StyleOf(int32_t style) {
    return style >= 0 && style < kRectGaugeStyleCount ? &kStyles[style] : nullptr;
}

constexpr int kDialInset = 15;
constexpr int kFrameInset = 2;  // inside the etched frame
constexpr int kScalePen = 3;
constexpr int kNeedlePen = 3;
constexpr int kIconSize = 32;
constexpr int kIconGap = 8;  // between the dial's square and a mixture icon
// The band of the A/F dial where the mixture gives the most power: fixed on
// the dial, whatever the range.
constexpr double kSectorFrom = 170.0;
constexpr double kSectorTo = 160.0;

void DrawPicture(const wchar_t* name, HDC dc, const RECT& area, int alpha) {
    DrawBitmapResource(name, dc, area.left, area.top, area.right, area.bottom, alpha);
}

void DrawIconResource(const wchar_t* name, HDC dc, int x, int y) {
    HICON icon = static_cast<HICON>(LoadImageW(FrameworkInstance(), name, IMAGE_ICON, kIconSize, kIconSize, 0));
    if (!icon) return;
    DrawIconEx(dc, x, y, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
}

void ClipTo(HDC dc, const RECT& rect) {
    HRGN region = CreateRectRgnIndirect(&rect);
    SelectClipRgn(dc, region);
    DeleteObject(region);
}

}  // namespace

double CRectGauge::AngleOf(int32_t v) const {
    return SectionDialAngle(v, minimum, maximum, startAngle, endAngle);
}

void CRectGauge::FitDialCircle(RECT& rect) const {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if ((style == 1 || style == 2) && h > 0) {
        const int radius = w * w / (8 * h) + h / 2;
        const int cx = (rect.left + rect.right) / 2;
        if (style == 1)
            rect.bottom = rect.top + 2 * radius;
        else
            rect.top = rect.bottom - 2 * radius;
        rect.left = cx - radius;
        rect.right = cx + radius;
    }
    InflateRect(&rect, -kDialInset, -kDialInset);
}

RECT CRectGauge::PictureArea(const RECT& client) const {
    const SectionStyle* section = StyleOf(style);
    RECT area = client;  // x, y, width, height
    if (section && section->picture == kUpperHalfPicture)
        area = {client.left - 25, client.top - 25, client.right + 50, 2 * client.bottom + 50};
    else if (section && section->picture == kLowerHalfPicture)
        area = {client.left - 25, client.top - client.bottom - 25, client.right + 50, 2 * client.bottom + 50};
    return area;
}

// A low air/fuel ratio is a rich mixture: "FETT" at the minimum's end of the
// scale, "MAGER" at the maximum's, in the corners above the scale's ends.
RECT CRectGauge::MixtureIconRect(const RECT& client, bool rich) const {
    RECT dial = client;
    FitDialCircle(dial);
    const bool left = rich == (std::sin(AngleOf(minimum)) >= std::sin(AngleOf(maximum)));
    const int x = left ? dial.left + kIconGap : dial.right - kIconGap - kIconSize;
    return {x, dial.top + kIconGap, x + kIconSize, dial.top + kIconGap + kIconSize};
}

RECT CRectGauge::ValueTextRect(const RECT& c) const {
    const SectionStyle* section = StyleOf(style);
    switch (section ? section->valueText : kWholeText) {
    case kLowerHalfText:  return {c.left, (c.top + c.bottom) / 2, c.right, c.bottom};
    case kLowerThirdText: return {c.left, c.bottom - (c.top + c.bottom) / 3, c.right, c.bottom};
    case kTopQuarterText: return {c.left, c.top, c.right, c.top + (c.top + c.bottom) / 4};
    case kWholeText:      break;
    }
    return c;
}

std::vector<ScaleMark> CRectGauge::ScaleMarks(HDC dc, const RECT& client) const {
    RECT dial = client;
    FitDialCircle(dial);
    return DialScaleMarks(dc, dial, minimum, maximum, step, [this](int32_t v) { return AngleOf(v); }, &TenthsLabel);
}

std::vector<ScaleMark> CRectGauge::ScaleMarks() const {
    return MeasuredScaleMarks(hwnd, labelFontHeight,
                              [this](HDC dc, const RECT& client) { return ScaleMarks(dc, client); });
}

void CRectGauge::DrawMarkedSector(HDC dc, const RECT& dial) const {
    const int w = dial.right - dial.left, h = dial.bottom - dial.top;
    const int cx = (dial.left + dial.right) / 2, cy = (dial.top + dial.bottom) / 2;
    const double from = kSectorFrom * kDialDegree, to = kSectorTo * kDialDegree;
    const int x1 = static_cast<int>(cx + std::sin(from) * w / -2.5), y1 = static_cast<int>(cy + std::cos(from) * h / 2.5);
    const int x2 = static_cast<int>(cx + std::sin(to) * w / -2.5), y2 = static_cast<int>(cy + std::cos(to) * h / 2.5);
    GdiSelection brush = SelectSolidBrush(dc, GetNearestColor(dc, RGB(200, 200, 0)));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    Pie(dc, dial.left, dial.top, dial.right, dial.bottom, x1, y1, x2, y2);  // counter-clockwise
    SelectObject(dc, oldPen);
}

void CRectGauge::DrawBackground(CDC& dc) {
    HDC hdc = dc.hdc;
    RECT client{};
    dc.GetRect(&client);
    if (const SectionStyle* section = StyleOf(style)) {
        startAngle = section->startAngle;
        endAngle = section->endAngle;
        step = section->intervals;
    }
    const RECT picture = PictureArea(client);

    RECT inside = client;
    DrawSunkenFrame(inside, hdc, 0);
    InflateRect(&inside, -kFrameInset, -kFrameInset);
    ClipTo(hdc, inside);
    DrawPicture(L"GAUGE1", hdc, picture, 255);

    RECT dial = client;
    FitDialCircle(dial);
    RoundScale(minimum, maximum, step, kScaleOutward);
    if (style == 1) DrawMarkedSector(hdc, dial);

    {
        GdiSelection pen = SelectPen(hdc, PS_SOLID, kScalePen, RGB(0, 0, 0));
        FontSelection font = CreateBoldFont(hdc, labelFontHeight, L"Arial");
        const int oldMode = SetBkMode(hdc, TRANSPARENT);
        for (const ScaleMark& mark : ScaleMarks(hdc, client)) {
            DrawLine(hdc, mark.dot.x, mark.dot.y, mark.dot.x, mark.dot.y);
            DrawTwoToneText(hdc, mark.text.c_str(), mark.label, RGB(255, 255, 255), 1, 1, RGB(0, 0, 0));
        }
        SetBkMode(hdc, oldMode);
    }
    for (bool rich : {true, false}) {
        const RECT icon = MixtureIconRect(client, rich);
        DrawIconResource(rich ? L"FETT" : L"MAGER", hdc, icon.left, icon.top);
    }
    SelectClipRgn(hdc, nullptr);
}

void CRectGauge::NeedleEnds(const RECT& client, POINT& tail, POINT& tip) const {
    RECT dial = client;
    InflateRect(&dial, -kFrameInset, -kFrameInset);
    FitDialCircle(dial);
    const int cx = (dial.left + dial.right) / 2, cy = (dial.top + dial.bottom) / 2;
    const double angle = AngleOf(value);
    const int dx = static_cast<int>(std::sin(angle) * (dial.right - dial.left) / -2.5);
    const int dy = static_cast<int>(std::cos(angle) * (dial.bottom - dial.top) / 2.5);
    tail = {cx - dx / 3, cy - dy / 3};
    tip = {cx + dx, cy + dy};
}

void CRectGauge::DrawMovingParts(CDC& frame) const {
    HDC dc = frame.hdc;
    RECT client{};
    frame.GetRect(&client);
    RECT inside = client;
    InflateRect(&inside, -kFrameInset, -kFrameInset);
    ClipTo(dc, inside);
    const int h0 = inside.bottom - inside.top;
    RECT hub = inside;
    FitDialCircle(hub);
    InflateRect(&hub, -(2 * h0) / 3, -(2 * h0) / 3);

    // a plain line lit from the upper left: white edge, black shadow, grey body
    POINT tail{}, tip{};
    NeedleEnds(client, tail, tip);
    struct Layer {
        COLORREF colour;
        int offset;
    };
    const Layer layers[] = {{RGB(255, 255, 255), -1}, {RGB(0, 0, 0), 1}, {RGB(128, 128, 128), 0}};
    for (const Layer& layer : layers) {
        GdiSelection pen = SelectPen(dc, PS_SOLID, kNeedlePen, layer.colour);
        DrawLine(dc, tail.x + layer.offset, tail.y + layer.offset, tip.x + layer.offset, tip.y + layer.offset);
    }

    // the hub covers the inner part of the needle
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    Ellipse(dc, hub.left, hub.top, hub.right, hub.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);

    {
        FontSelection font = CreateBoldFont(dc, valueFontHeight, L"Arial");
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        DrawTwoToneText(dc, ValueText().c_str(), ValueTextRect(client), RGB(255, 255, 255), 1,
                       1, RGB(0, 0, 0));
        SetBkMode(dc, oldMode);
    }
    DrawPicture(L"GAUGE2", dc, PictureArea(client), 80);
    SelectClipRgn(dc, nullptr);
}

int CRectGauge::Paint(CDC* dc) {
    if (!dc) return 1;
    PaintComposed(dc, [this](CDC& frame) { DrawMovingParts(frame); });
    return 1;
}
