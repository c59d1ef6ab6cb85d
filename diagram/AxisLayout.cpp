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

bool isLambdaPanel(const DiagramState& d) { return d.yQuantity == kQuantityLambda; }

// The quantity whose name, unit and decimals an axis shows.
int32_t axisQuantity(const DiagramState& d, int kind) {
    if (kind == kAxisX) return d.xQuantity;
    if (kind == kAxisRight) return kQuantityTorque;
    return d.PrimaryQuantity();
}

// Arrowhead pointing up at x: base 2 mm, tip 7 mm above the plot's top.
void upwardArrow(AxisPicture& a, int32_t x, int32_t top) {
    a.arrow[0] = {x - MmX(15), top - MmY(20)};
    a.arrow[1] = {x + MmX(15), top - MmY(20)};
    a.arrow[2] = {x, top - MmY(70)};
}

void layoutX(const DiagramState& d, AxisPicture& a) {
    const IntRect& p = d.plot;
    const bool panel = isLambdaPanel(d);
    a.tickValues = TickValues(PlaceTicks(d.view.left, d.view.right, p.width(), MmX(kPitchX)));
    const int decimals = QuantityDecimals(d.xQuantity);
    for (int32_t v : a.tickValues) {
        const int32_t x = d.ToDeviceX(v);
        if (x > 0) a.grid.push_back({{x, p.bottom}, {x, p.top}});
        if (panel) continue;
        a.marks.push_back({{x, p.bottom - MmY(20)}, {x, p.bottom + MmY(20)}});
        a.labels.push_back({FormatScaled(decimals, v), {x - MmX(75), p.bottom + MmY(20), x + MmX(75), p.bottom + MmY(120)}});
    }
    a.labelAlign = LabelAlign::CentreTop;
    if (panel) return;
    a.hasAxisLine = true;
    a.axisLine = {{p.left - MmX(20), p.bottom}, {p.right + MmX(20), p.bottom}};
    const int32_t baseX = p.right + MmX(20);
    a.arrow[0] = {baseX, p.bottom - MmY(15)};
    a.arrow[1] = {baseX, p.bottom + MmY(15)};
    a.arrow[2] = {p.right + MmX(70), p.bottom};
    a.hasTitle = true;
    a.title = AxisTitle(d, kAxisX);
}

void layoutLeft(const DiagramState& d, AxisPicture& a) {
    const IntRect& p = d.plot;
    const bool panel = isLambdaPanel(d);
    a.lambdaDecorations = panel;
    a.tickValues = TickValues(PlaceTicks(d.view.bottom, d.view.top, p.height(), MmY(panel ? kPitchLambda : kPitchY)));
    const int decimals = QuantityDecimals(panel ? int32_t(kQuantityLambda) : d.PrimaryQuantity());
    for (int32_t v : a.tickValues) {
        const int32_t y = d.ToDeviceY(v);
        if (y <= 0) continue;
        a.grid.push_back({{p.left, y}, {p.right, y}});
        a.marks.push_back({{p.left - MmX(20), y}, {p.left + MmX(20), y}});
        a.labels.push_back({FormatScaled(decimals, v), {p.left - MmX(150), y - MmY(50), p.left - MmX(30), y + MmY(50)}});
    }
    a.labelAlign = LabelAlign::RightMiddle;
    a.hasAxisLine = true;
    a.axisLine = {{p.left, p.bottom + MmY(20)}, {p.left, p.top - MmY(20)}};
    upwardArrow(a, p.left, p.top);
    a.hasTitle = true;
    a.title = AxisTitle(d, kAxisLeft);
}

void layoutRight(const DiagramState& d, AxisPicture& a) {
    const IntRect& p = d.plot;
    a.gridColour = kRed;
    a.tickValues = TickValues(PlaceTicks(d.view.bottom, d.view.top, p.height(), MmY(kPitchY)));
    const int decimals = QuantityDecimals(kQuantityTorque);
    for (int32_t v : a.tickValues) {
        const int32_t y = d.ToDeviceY(v);
        if (y <= 0) continue;
        a.grid.push_back({{p.left, y}, {p.right, y}});
        a.marks.push_back({{p.right, y}, {p.right + MmX(40), y}});
        IntRect box{p.right + MmX(30), y - MmY(50), p.right + MmX(155), y + MmY(50)};
        if (box.bottom > p.bottom) {
            const int32_t excess = box.bottom - p.bottom;
            box.top -= excess;
            box.bottom -= excess;
        }
        a.labels.push_back({FormatScaled(decimals, v), box});
    }
    a.labelAlign = LabelAlign::RightMiddle;
    const int32_t x = p.right + MmX(20);
    a.hasAxisLine = true;
    a.axisLine = {{x, p.bottom + MmY(20)}, {x, p.top - MmY(20)}};
    upwardArrow(a, x, p.top);
    a.hasTitle = true;
    a.title = AxisTitle(d, kAxisRight);
}

}  // namespace

AxisPicture LayoutAxis(const DiagramState& d, int kind) {
    AxisPicture a;
    if (kind == kAxisX)
        layoutX(d, a);
    else if (kind == kAxisLeft)
        layoutLeft(d, a);
    else
        layoutRight(d, a);
    return a;
}

AxisTitleText AxisTitle(const DiagramState& d, int kind) {
    AxisTitleText t;
    const int32_t q = isLambdaPanel(d) && kind == kAxisLeft ? int32_t(kQuantityLambda) : axisQuantity(d, kind);
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
    const IntRect& p = d.plot;
    if (kind == kAxisX) {
        t.anchor = {p.right + MmX(50), p.bottom + MmY(65)};
        t.align = TitleAlign::Right;
    } else if (kind == kAxisLeft) {
        t.anchor = {p.left + MmX(50), p.top - MmY(85)};
        t.align = TitleAlign::Left;
    } else {
        t.anchor = {p.right - MmX(50), d.torqueTop - MmY(85)};
        t.align = TitleAlign::Right;
    }
    return t;
}
