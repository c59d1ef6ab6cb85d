#include "AxisLayout.h"

#include "DiagramState.h"
#include "DiagramText.h"
#include "RoundScale.h"

TickScale PlaceTicks(int32_t minimum, int32_t maximum, int32_t extent, int32_t pitch) {
    TickScale s;
    s.first = minimum;
    s.last = maximum;
    s.step = pitch > 0 ? extent / pitch : 1;
    if (s.step < 1) s.step = 1;
    RoundScale(s.first, s.last, s.step, kScaleInward);
    return s;
}

std::vector<int32_t> TickValues(const TickScale& scale) {
    std::vector<int32_t> values;
    if (scale.step <= 0) return values;
    for (int64_t v = scale.first; v <= scale.last; v += scale.step) values.push_back(int32_t(v));
    return values;
}

namespace {

bool isLambdaPanel(const AxisFrame& f) { return f.quantity == kQuantityLambda; }

// The quantity whose name, unit and decimals an axis shows.
int32_t axisQuantity(const DiagramState& d, const AxisFrame& f, int kind) {
    if (kind == kAxisX) return d.xQuantity;
    if (kind == kAxisRight) return kQuantityTorque;
    return f.quantity;
}

// Arrowhead pointing up at x: base 2 mm, tip 7 mm above the plot's top.
void upwardArrow(AxisPicture& a, int32_t x, int32_t top, const Surface& s) {
    a.arrow[0] = {x - s.MmX(15), top - s.MmY(20)};
    a.arrow[1] = {x + s.MmX(15), top - s.MmY(20)};
    a.arrow[2] = {x, top - s.MmY(70)};
}

void layoutX(const DiagramState& d, const AxisFrame& f, const Surface& s, AxisPicture& a) {
    const IntRect& p = f.plot;
    const bool panel = isLambdaPanel(f);
    a.tickValues = TickValues(PlaceTicks(f.view.left, f.view.right, p.width(), s.MmX(kPitchX)));
    const int decimals = QuantityDecimals(d.xQuantity);
    for (int32_t v : a.tickValues) {
        const int32_t x = f.ToDeviceX(v);
        if (x > 0) a.grid.push_back({{x, p.bottom}, {x, p.top}});
        if (panel) continue;
        a.marks.push_back({{x, p.bottom - s.MmY(20)}, {x, p.bottom + s.MmY(20)}});
        a.labels.push_back({FormatScaled(decimals, v), {x - s.MmX(75), p.bottom + s.MmY(20), x + s.MmX(75), p.bottom + s.MmY(120)}});
    }
    a.labelAlign = LabelAlign::CentreTop;
    if (panel) return;
    a.hasAxisLine = true;
    a.axisLine = {{p.left - s.MmX(20), p.bottom}, {p.right + s.MmX(20), p.bottom}};
    const int32_t baseX = p.right + s.MmX(20);
    a.arrow[0] = {baseX, p.bottom - s.MmY(15)};
    a.arrow[1] = {baseX, p.bottom + s.MmY(15)};
    a.arrow[2] = {p.right + s.MmX(70), p.bottom};
    a.hasTitle = true;
    a.title = AxisTitle(d, f, kAxisX, s);
}

void layoutLeft(const DiagramState& d, const AxisFrame& f, const Surface& s, AxisPicture& a) {
    const IntRect& p = f.plot;
    const bool panel = isLambdaPanel(f);
    a.lambdaDecorations = panel;
    a.tickValues = TickValues(PlaceTicks(f.view.bottom, f.view.top, p.height(), s.MmY(panel ? kPitchLambda : kPitchY)));
    const int decimals = QuantityDecimals(panel ? int32_t(kQuantityLambda) : f.quantity);
    for (int32_t v : a.tickValues) {
        const int32_t y = f.ToDeviceY(v);
        if (y <= 0) continue;
        a.grid.push_back({{p.left, y}, {p.right, y}});
        a.marks.push_back({{p.left - s.MmX(20), y}, {p.left + s.MmX(20), y}});
        a.labels.push_back({FormatScaled(decimals, v), {p.left - s.MmX(150), y - s.MmY(50), p.left - s.MmX(30), y + s.MmY(50)}});
    }
    a.labelAlign = LabelAlign::RightMiddle;
    a.hasAxisLine = true;
    a.axisLine = {{p.left, p.bottom + s.MmY(20)}, {p.left, p.top - s.MmY(20)}};
    upwardArrow(a, p.left, p.top, s);
    a.hasTitle = true;
    a.title = AxisTitle(d, f, kAxisLeft, s);
}

void layoutRight(const DiagramState& d, const AxisFrame& f, const Surface& s, AxisPicture& a) {
    const IntRect& p = f.plot;
    a.gridColour = kRed;
    a.tickValues = TickValues(PlaceTicks(f.view.bottom, f.view.top, p.height(), s.MmY(kPitchY)));
    const int decimals = QuantityDecimals(kQuantityTorque);
    for (int32_t v : a.tickValues) {
        const int32_t y = f.ToDeviceY(v);
        if (y <= 0) continue;
        a.grid.push_back({{p.left, y}, {p.right, y}});
        a.marks.push_back({{p.right, y}, {p.right + s.MmX(40), y}});
        IntRect box{p.right + s.MmX(30), y - s.MmY(50), p.right + s.MmX(155), y + s.MmY(50)};
        if (box.bottom > p.bottom) {
            const int32_t excess = box.bottom - p.bottom;
            box.top -= excess;
            box.bottom -= excess;
        }
        a.labels.push_back({FormatScaled(decimals, v), box});
    }
    a.labelAlign = LabelAlign::RightMiddle;
    const int32_t x = p.right + s.MmX(20);
    a.hasAxisLine = true;
    a.axisLine = {{x, p.bottom + s.MmY(20)}, {x, p.top - s.MmY(20)}};
    upwardArrow(a, x, p.top, s);
    a.hasTitle = true;
    a.title = AxisTitle(d, f, kAxisRight, s);
}

}  // namespace

AxisPicture LayoutAxis(const DiagramState& d, const AxisFrame& f, int kind, const Surface& s) {
    AxisPicture a;
    if (kind == kAxisX)
        layoutX(d, f, s, a);
    else if (kind == kAxisLeft)
        layoutLeft(d, f, s, a);
    else
        layoutRight(d, f, s, a);
    return a;
}

MixtureMarks LayoutMixtureMarks(const AxisFrame& f, const Surface& s) {
    const IntRect& p = f.plot;
    const int32_t left = p.right + s.MmX(10), right = left + s.MmX(70), height = s.MmY(40);
    const bool leanOnTop = f.view.top > f.view.bottom;  // the larger ratio is the leaner mixture
    const IntRect upper{left, p.top, right, p.top + height}, lower{left, p.bottom - height, right, p.bottom};
    return leanOnTop ? MixtureMarks{lower, upper} : MixtureMarks{upper, lower};
}

AxisTitleText AxisTitle(const DiagramState& d, const AxisFrame& f, int kind, const Surface& s) {
    AxisTitleText t;
    const int32_t q = axisQuantity(d, f, kind);
    if (q == kQuantityLambda) {
        t.text = L"A/F";
    } else {
        t.text = QuantityLabel(q);
        if (q == kQuantityTorque || q == kQuantityPowerPs || q == kQuantityPowerKw) {
            t.text += L" (" + ChoiceItem(d.options.powerModeItems, d.options.powerMode) + L", " +
                      ChoiceItem(d.options.correctionItems, d.options.correction);
            const std::wstring smoothing = SmoothingName(d.options);
            if (!smoothing.empty()) t.text += L", " + smoothing;
            t.text += L")";
            // a corrected value beyond the formulas' band is marked where the correction is named
            if (!d.CorrectionsValid()) t.text += L" (!)";
        }
    }
    const IntRect& p = f.plot;
    if (kind == kAxisX) {
        t.anchor = {p.right + s.MmX(50), p.bottom + s.MmY(65)};
        t.align = TitleAlign::Right;
    } else if (kind == kAxisLeft) {
        t.anchor = {p.left + s.MmX(50), p.top - s.MmY(85)};
        t.align = TitleAlign::Left;
    } else {
        t.anchor = {p.right - s.MmX(50), p.top - s.MmY(85)};
        t.align = TitleAlign::Right;
    }
    return t;
}
