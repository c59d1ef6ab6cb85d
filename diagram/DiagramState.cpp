#include "DiagramState.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "AtmosphericCorrection.h"
#include "DiagramText.h"
#include "MeasurementFile.h"
#include "Settings.h"

namespace {

struct MinMax {
    int32_t lo = 0;
    int32_t hi = 0;
    void start(int32_t v) { lo = hi = v; }
    void take(int32_t v) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    ValueSpan withMargins() const { return RangeWithMargins(lo, hi); }
};

}  // namespace

ValueSpan RangeWithMargins(int32_t lo, int32_t hi) {
    const int32_t margin = int32_t(std::ceil(double(hi - lo) * 0.045)) + 1;
    return {lo - margin, hi + margin};
}

DiagramState::DiagramState(const EvaluationOptions& initialOptions) : DiagramState(initialOptions, theSettings()) {}

DiagramState::DiagramState(const EvaluationOptions& initialOptions, const Settings& calibration)
    : options(initialOptions), cursor(options, calibration), calibration_(&calibration) {
    ComputeRanges();
}

bool EvaluationKey::operator==(const EvaluationKey& o) const {
    return powerMode == o.powerMode && correction == o.correction && lossTime == o.lossTime &&
           smoothing == o.smoothing && pCorr == o.pCorr &&
           mCorr == o.mCorr && sampleCount == o.sampleCount && timeCount == o.timeCount &&
           temperature == o.temperature && pressure == o.pressure && humidity == o.humidity &&
           gearRatio == o.gearRatio && inertia == o.inertia && circumference == o.circumference;
}

EvaluationKey DiagramState::KeyOf(const Measurement& m) const {
    EvaluationKey k;
    k.powerMode = options.powerMode;
    k.correction = options.correction;
    k.lossTime = options.lossTime;
    k.smoothing = options.smoothing;
    k.pCorr = calibration_->hardwarePCorr;
    k.mCorr = calibration_->hardwareMCorr;
    k.sampleCount = m.sampleCount;
    k.timeCount = m.times.size();
    k.temperature = m.temperature;
    k.pressure = m.pressure;
    k.humidity = m.humidity;
    k.gearRatio = m.gearRatio;
    k.inertia = m.inertia;
    k.circumference = m.circumference;
    return k;
}

void DiagramState::Evaluate(int32_t i) {
    Measurement& m = *measurements[i];
    // adding a file or switching the view leaves the others' evaluations as
    // they were; only a change of what they depend on redoes them
    const EvaluationKey key = KeyOf(m);
    if (evaluated_[i] && evaluatedAs_[i] == key) return;
    cursor.evaluate(m);
    // the evaluation sets a zero gear ratio to 1, which changes the key
    evaluatedAs_[i] = KeyOf(m);
    evaluated_[i] = true;
}

void DiagramState::ForgetEvaluations() {
    for (bool& e : evaluated_) e = false;
    for (Span& s : spans_) s.valid = false;
}

// Walks measurement i once for the X, Y and torque values of its evaluation
// points; kept while the view and the evaluation stay the same, so adding a
// file walks only the new one.
const DiagramState::Span& DiagramState::SpanOf(int32_t i, int32_t yq) {
    Span& s = spans_[i];
    const bool first = i == 0;
    if (s.valid && s.key == evaluatedAs_[i] && s.x == xQuantity && s.y == yq && s.first == first) return s;
    s = Span{true, evaluatedAs_[i], xQuantity, yq, first, false, {}, {}};
    cursor.rewind(*measurements[i]);
    auto take = [&]() {
        const uint16_t k = cursor.index();
        const int32_t v[3] = {cursor.quantityValue(xQuantity, k), cursor.quantityValue(yq, k),
                              cursor.quantityValue(kQuantityTorque, k)};
        for (int n = 0; n < 3; ++n) {
            s.lo[n] = s.any ? std::min(s.lo[n], v[n]) : v[n];
            s.hi[n] = s.any ? std::max(s.hi[n], v[n]) : v[n];
        }
        s.any = true;
    };
    // the point rewind stands on counts for the first measurement only
    if (first) take();
    while (cursor.advance()) take();
    return s;
}

// ---- ranges ------------------------------------------------------------------

bool DiagramState::IsCombinedView() const {
    return yQuantity == kQuantityPowerTorqueKw || yQuantity == kQuantityPowerTorquePs;
}

int32_t DiagramState::PrimaryQuantity() const {
    if (yQuantity == kQuantityPowerTorqueKw) return kQuantityPowerKw;
    if (yQuantity == kQuantityPowerTorquePs) return kQuantityPowerPs;
    return yQuantity;
}

int32_t DiagramState::CurveCount() const { return IsCombinedView() ? std::min(count, int32_t(3)) : count; }

bool DiagramState::CorrectionsValid() const {
    for (int32_t i = 0; i < count; ++i)
        if (measurements[i] && !correctionValid(options.correction, measurements[i]->correctionFactor)) return false;
    return true;
}

void DiagramState::ComputeRanges() {
    if (count == 0) {
        fullRange = {-kEmptyRange, kEmptyRange, kEmptyRange, -kEmptyRange};
        fullTorqueRange = fullRange;
        ZoomAll();
        return;
    }
    const bool combined = IsCombinedView();
    const int32_t yq = PrimaryQuantity();
    const int32_t shown = CurveCount();
    MinMax x, y, torque;
    // Every measurement is evaluated, also those a combined view does not
    // draw: their maxima go onto the printed page and their loss point into
    // the warning when they are added. Only the drawn ones make the ranges.
    for (int32_t i = 0; i < count; ++i) {
        Evaluate(i);
        if (i >= shown) continue;
        const Span& s = SpanOf(i, yq);
        if (!s.any) continue;
        if (i == 0) {
            x.start(s.lo[0]);
            y.start(s.lo[1]);
            torque.start(s.lo[2]);
        }
        x.take(s.lo[0]), x.take(s.hi[0]);
        y.take(s.lo[1]), y.take(s.hi[1]);
        torque.take(s.lo[2]), torque.take(s.hi[2]);
    }
    const ValueSpan xs = x.withMargins(), ys = y.withMargins();
    fullRange = {xs.lo, ys.hi, xs.hi, ys.lo};
    if (combined) {
        // torque from 0 to 5/4 of its top, so that its curves stay in the
        // lower part of the plot, under the power curves
        fullTorqueRange = {xs.lo, torque.withMargins().hi * 5 / 4, xs.hi, 0};
        fullRange.bottom = 0;
    }
    ZoomAll();
}

void DiagramState::ZoomAll() {
    view = fullRange;
    torqueRangeTop = fullTorqueRange.top;
    torqueRangeBottom = fullTorqueRange.bottom;
}

void DiagramState::SetQuantities(int32_t x, int32_t y) {
    xQuantity = x;
    yQuantity = y;
    ComputeRanges();
}

// ---- layout and mapping ------------------------------------------------------

PlotLayout LayoutPlot(const IntRect& o, const PlotPlacement& pl, const Surface& surface) {
    const int32_t w = o.right - o.left;
    const int32_t h = o.top - o.bottom;  // negative: device y grows downwards
    PlotLayout l;
    l.outer = o;
    l.plot.left = o.left + surface.MmX(pl.margin[0]) + w * pl.percent[0] / 100;
    l.plot.top = o.bottom + surface.MmY(pl.margin[1]) + h * pl.percent[1] / 100;
    l.plot.right = o.left + surface.MmX(pl.margin[2]) + w * pl.percent[2] / 100;
    l.plot.bottom = o.bottom + surface.MmY(pl.margin[3]) + h * pl.percent[3] / 100;
    l.torqueTop = l.plot.bottom + (l.plot.top - l.plot.bottom) * 2 / 3;
    return l;
}

PlotLayout DiagramState::LayoutMainPlot(IntRect outer, const Surface& surface) const {
    if (outer.bottom - outer.top < surface.MmY(500)) outer.bottom = outer.top + surface.MmY(500);
    PlotLayout l = LayoutPlot(outer, lambdaShown ? kMainPlotOverLambda : kMainPlot, surface);
    if (IsCombinedView()) l.plot.right -= surface.MmX(75);
    return l;
}

// ---- axis frames -------------------------------------------------------------

AxisFrame DiagramState::PrimaryFrame(const PlotLayout& l) const { return {l.plot, view, PrimaryQuantity()}; }

AxisFrame DiagramState::TorqueFrame(const PlotLayout& l) const {
    AxisFrame f{l.plot, view, kQuantityTorque};
    f.plot.top = l.torqueTop;
    f.view.top = torqueRangeTop;
    f.view.bottom = torqueRangeBottom;
    return f;
}

AxisFrame DiagramState::LambdaFrame(const PlotLayout& panel) const {
    AxisFrame f{panel.plot, view, kQuantityLambda};
    f.view.top = kLambdaTop;
    f.view.bottom = kLambdaBottom;
    return f;
}

AxisFrame DiagramState::MouseFrame(const PlotLayout& l, bool torque) const {
    return torque && IsCombinedView() ? TorqueFrame(l) : PrimaryFrame(l);
}

// ---- curves ------------------------------------------------------------------

bool DiagramState::CurvePoints(int i, const AxisFrame& f, std::vector<IntPoint>& points, IntPoint* loss) {
    points.clear();
    if (i < 0 || i >= count) return false;
    Measurement& m = *measurements[i];
    cursor.rewind(m);
    auto point = [&]() -> IntPoint {
        const uint16_t k = cursor.index();
        return {f.ToDeviceX(cursor.quantityValue(xQuantity, k)), f.ToDeviceY(cursor.quantityValue(f.quantity, k))};
    };
    points.push_back(point());
    while (cursor.advance()) points.push_back(point());
    if (!loss || pageView || f.quantity == kQuantityLambda) return false;
    cursor.openWindow(m.lossIndex);
    *loss = point();
    return true;
}

// ---- files -------------------------------------------------------------------

AddResult DiagramState::AddFile(const std::wstring& path) {
    if (IsFull()) return AddResult::Full;
    pending = std::make_unique<Measurement>();
    // a failed load stays pending until the next load or the diagram's end
    if (!readMeasurement(path, *pending)) return AddResult::BadFormat;
    evaluated_[count] = false;
    spans_[count].valid = false;
    measurements[count++] = std::move(pending);
    ComputeRanges();
    const Measurement& added = *measurements[count - 1];
    return added.lossIndex < added.maxRpmIndex ? AddResult::NoLossPoint : AddResult::Added;
}

void DiagramState::ReleaseAll() {
    for (auto& m : measurements) m.reset();
    ForgetEvaluations();
    count = 0;
    pending.reset();
}

// ---- mouse -------------------------------------------------------------------

bool DiagramState::FinishZoom(IntRect band, const PlotLayout& layout, bool torque) {
    band = normalised(band);
    const IntRect data = (torque ? TorqueFrame(layout) : PrimaryFrame(layout)).ToData(band);
    const bool zoom = band.width() > 10 && band.height() > 10 && data.top > data.bottom && data.right > data.left;
    if (!zoom) return false;
    view.left = data.left;
    view.right = data.right;
    if (torque) {
        torqueRangeTop = data.top;
        torqueRangeBottom = data.bottom;
    } else {
        view.top = data.top;
        view.bottom = data.bottom;
    }
    return true;
}

int32_t DiagramState::ReadoutQuantity(bool torque) const {
    if (!IsCombinedView()) return yQuantity;
    return torque ? int32_t(kQuantityTorque) : PrimaryQuantity();
}

std::wstring DiagramState::Readout(const AxisFrame& f, const IntRect& band, bool dragging) const {
    const IntRect data = f.ToData(band);
    const int32_t yq = f.quantity;
    auto part = [&](int32_t x, int32_t y) {
        return L"(" + FormatScaled(QuantityDecimals(xQuantity), x) + L" " + QuantityUnit(xQuantity) + L", " +
               FormatScaled(QuantityDecimals(yq), y) + L" " + QuantityUnit(yq) + L")";
    };
    const std::wstring pointer = part(data.right, data.bottom);
    return dragging ? part(data.left, data.top) + L" -> " + pointer : pointer;
}

std::wstring OutsideReadout(const IntRect& a, IntPoint p) {
    return L"(" + std::to_wstring(a.right) + L", " + std::to_wstring(a.top) + L", " + std::to_wstring(a.left) + L", " +
           std::to_wstring(a.bottom) + L") <- (" + std::to_wstring(p.x) + L", " + std::to_wstring(p.y) + L")";
}

bool QuickView(int command, int powerUnit, int32_t& x, int32_t& y) {
    const bool kw = powerUnit == 1;
    switch (command) {
    case 1546: x = kQuantitySpeed, y = kQuantityEngineSpeed; return true;
    case 1549: x = kQuantityTime, y = kQuantityEngineSpeed; return true;
    case 1550: x = kQuantityEngineSpeed, y = kQuantityTorque; return true;
    case 1551: x = kQuantityEngineSpeed, y = kw ? kQuantityPowerKw : kQuantityPowerPs; return true;
    case 1555: x = kQuantityEngineSpeed, y = kw ? kQuantityPowerTorqueKw : kQuantityPowerTorquePs; return true;
    default: return false;
    }
}

// ---- page view ---------------------------------------------------------------

IntRect PageBand(IntPoint anchor, IntPoint pointer, int32_t pw, int32_t ph) {
    const int32_t w = pointer.x - anchor.x, h = pointer.y - anchor.y;
    int32_t width = std::abs(w), height = std::abs(h);
    if (pw > 0 && ph > 0) {
        width = std::max(width, mulDiv(height, pw, ph));
        height = std::max(height, mulDiv(width, ph, pw));
    }
    return {anchor.x, anchor.y, anchor.x + (w < 0 ? -width : width), anchor.y + (h < 0 ? -height : height)};
}

IntRect PagePlacementForBand(IntPoint c, IntPoint p, const IntRect& d) {
    const int32_t w = mulDiv(c.x, p.x, d.width());
    const int32_t h = mulDiv(c.y, p.y, d.height());
    const int32_t l = mulDiv(d.left, p.x, d.width());
    const int32_t t = mulDiv(d.top, p.y, d.height());
    return {-l, -t, w - l, h - t};
}

IntRect FitPage(const IntRect& a, int32_t pageWidth, int32_t pageHeight) {
    if (pageWidth <= 0 || pageHeight <= 0) return a;
    const int32_t w = mulDiv(pageWidth, a.height(), pageHeight);
    if (w < a.width()) {
        const int32_t left = a.left + (a.width() - w) / 2;
        return {left, a.top, left + w, a.bottom};
    }
    const int32_t h = mulDiv(pageHeight, a.width(), pageWidth);
    const int32_t top = a.top + (a.height() - h) / 2;
    return {a.left, top, a.right, top + h};
}
