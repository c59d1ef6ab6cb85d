// The diagram without its window: number texts, scale steps, ranges with
// their margins, the plot layout, the coordinate mapping, the axis pictures,
// the zoom, the read-out texts and the page-view geometry.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "AxisLayout.h"
#include "DiagramState.h"
#include "DiagramText.h"
#include "RoundScale.h"
#include "Settings.h"
#include "StringTable.h"
#include "SyntheticRuns.h"
#include "Utf8.h"

namespace {

const std::wstring kDataDir = fromUtf8(KX_DATA_DIR);

std::string narrow(const std::wstring& w) { return toUtf8(w); }

// Settings with the choice lists filled, as after start-up.
const Settings& loadedSettings() {
    static Settings s = [] {
        Settings t;
        completeLoadedSettings(t, portableText);
        return t;
    }();
    return s;
}

EvaluationOptions engineUncorrected() {
    EvaluationOptions o = evaluationOptionsFromSettings(loadedSettings());
    o.powerMode = kPowerAtEngine;
    o.correction = 0;
    o.lossTime = 3.0;
    return o;
}

// A diagram with the given files added (by name in core/tests/data).
struct Diagram {
    DiagramState d{engineUncorrected(), loadedSettings()};
    explicit Diagram(std::vector<std::wstring> files = {}) {
        for (const auto& f : files) EXPECT_NE(d.AddFile(kDataDir + L"/" + f), AddResult::BadFormat) << narrow(f);
    }
};

// A run at constant roller speed: every quantity derived from it is flat.
std::unique_ptr<Measurement> steadyRun(int revolutions, int32_t period) {
    auto m = std::make_unique<Measurement>();
    for (int k = 1; k <= revolutions; ++k) m->times.push_back(k * period);
    m->sampleCount = uint16_t(revolutions);
    m->gearRatio = 3.0;
    m->inertia = 7.05;
    m->circumference = 1.25;
    m->temperature = 20;
    m->pressure = 1013;
    m->humidity = 50;
    return m;
}

// A screen surface of the given resolution.
Surface screen(int32_t dpi) { return Surface{dpi, dpi, false}; }

// Minimum and maximum of a quantity over the evaluation points the ranges use.
ValueSpan valueSpan(DiagramState& d, int q, int measurements) {
    ValueSpan s{0, 0};
    for (int i = 0; i < measurements; ++i) {
        d.cursor.rewind(*d.measurements[i]);
        auto take = [&](bool first) {
            const int32_t v = d.cursor.quantityValue(q, d.cursor.index());
            if (first) s = {v, v};
            s.lo = std::min(s.lo, v);
            s.hi = std::max(s.hi, v);
        };
        if (i == 0) take(true);
        while (d.cursor.advance()) take(false);
    }
    return s;
}

// ---- texts -------------------------------------------------------------------

TEST(DiagramText, FormatScaledPutsThePointBeforeTheDecimals) {
    struct Case {
        int decimals;
        int32_t value;
        const wchar_t* text;
    } cases[] = {
        {1, 5, L"0.5"},        {1, 1234, L"123.4"},   {2, -5, L"-0.05"},      {1, -5, L"-0.5"},
        {-1, 6123, L"6120"},   {-1, 6127, L"6120"},   {-1, -6127, L"-6120"},  {-1, 5, L"0"},
        {0, 42, L"42"},        {0, -7, L"-7"},        {0, 0, L"0"},           {2, 5, L"0.05"},
        {1, 0, L"0.0"},        {2, 250, L"2.50"},     {1, -30000, L"-3000.0"}, {3, 7, L"0.007"},
        {-2, 5, L"???"},       {-5, 5, L"???"},       {10, 5, L"???"},        {2, INT32_MIN, L"-21474836.48"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(narrow(FormatScaled(c.decimals, c.value)), narrow(c.text)) << "decimals " << c.decimals << ", value " << c.value;
}

TEST(DiagramText, ChoiceItemsAndErrorItem) {
    const std::wstring list = L"unkorrigiert|DIN 70020|ISO 1585";
    struct Case {
        const std::wstring* items;
        int index;
        const char* text;
    } cases[] = {
        {&list, 0, "unkorrigiert"}, {&list, 1, "DIN 70020"}, {&list, 2, "ISO 1585"},
        {&list, 3, "Fehler"},       {&list, -1, "Fehler"},   {nullptr, 0, "Fehler"},
    };
    for (const auto& c : cases) EXPECT_EQ(narrow(ChoiceItem(c.items, c.index)), c.text) << "index " << c.index;
}

TEST(DiagramText, QuantityNamesUnitsAndDecimals) {
    struct Case {
        int q;
        const char* label;
        int decimals;
    } cases[] = {
        {0, "Geschwindigkeit [km/h]", 1}, {1, "Drehmoment [Nm]", 1},    {2, "Leistung [PS]", 1},
        {3, "Leistung [kW]", 1},          {4, "Zeit [s]", 2},           {5, "Drehzahl [U/min]", 0},
        {6, "Wegstrecke [m]", 1},         {7, "Leistung/Drehm. [kW/Nm]", 1}, {8, "Leistung/Drehm. [PS/Nm]", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(narrow(QuantityLabel(c.q)), c.label) << "quantity " << c.q;
        EXPECT_EQ(QuantityDecimals(c.q), c.decimals) << "quantity " << c.q;
    }
    EXPECT_EQ(narrow(QuantityName(9)), "A/F");
    EXPECT_EQ(QuantityDecimals(9), 1);
}

// ---- geometry and scales -----------------------------------------------------

TEST(DiagramGeometry, MulDivRoundsHalvesAwayFromZero) {
    struct Case {
        int32_t a, b, c, result;
    } cases[] = {
        {150, 96, 254, 57}, {-90, 96, 254, -34}, {120, 96, 254, 45}, {5, 1, 2, 3},     {-5, 1, 2, -3},
        {5, -1, 2, -3},     {7, 3, 0, -1},       {1, 1, -2, -1},     {INT32_MAX, 2, 1, -1}, {600, 300, 254, 709},
    };
    for (const auto& c : cases) EXPECT_EQ(mulDiv(c.a, c.b, c.c), c.result) << c.a << " x " << c.b << " / " << c.c;
}

TEST(DiagramScale, RoundScaleStepsOutwardAndInward) {
    struct Case {
        int32_t min, max, intervals;
        int direction;
        int32_t roundedMin, roundedMax, step;
    } cases[] = {
        {0, 250, 10, 0, 0, 250, 50},      {0, 8000, 10, 0, 0, 8000, 1000}, {100, 180, 10, 0, 100, 180, 10},
        {400, 1200, 5, 0, 400, 1200, 200}, {1, 1, 10, 0, 1, 1, 1},          {-271, 6271, 10, 1, 0, 6000, 1000},
        {-271, 6271, 10, 0, -1000, 7000, 1000}, {-15, 15, 4, 1, -10, 10, 10}, {-15, 15, 4, 0, -20, 20, 10},
        {100, 180, 0, 1, 100, 150, 50},  {-32701, 32701, 1, 1, -20000, 20000, 20000},
    };
    for (const auto& c : cases) {
        int32_t lo = c.min, hi = c.max, step = c.intervals;
        RoundScale(lo, hi, step, c.direction);
        EXPECT_EQ(lo, c.roundedMin) << c.min << ".." << c.max << " / " << c.intervals << " dir " << c.direction;
        EXPECT_EQ(hi, c.roundedMax) << c.min << ".." << c.max << " / " << c.intervals << " dir " << c.direction;
        EXPECT_EQ(step, c.step) << c.min << ".." << c.max << " / " << c.intervals << " dir " << c.direction;
    }
}

TEST(DiagramScale, MarginsOfTheAutomaticRange) {
    struct Case {
        int32_t lo, hi, from, to;
    } cases[] = {
        {0, 6000, -271, 6271}, {500, 500, 499, 501}, {-100, 100, -110, 110}, {0, 1, -2, 3}, {-30000, 30000, -32701, 32701},
    };
    for (const auto& c : cases) {
        const ValueSpan s = RangeWithMargins(c.lo, c.hi);
        EXPECT_EQ(s.lo, c.from) << c.lo << ".." << c.hi;
        EXPECT_EQ(s.hi, c.to) << c.lo << ".." << c.hi;
    }
}

TEST(DiagramScale, EngineSpeedsOverSixHundredPixelsGetTicksEveryThousand) {
    const Surface r = screen(96);
    EXPECT_EQ(r.MmX(kPitchX), 57);
    DiagramState d(engineUncorrected(), loadedSettings());
    d.xQuantity = kQuantityEngineSpeed;
    const AxisFrame f{{100, 50, 700, 450}, {-271, 100, 6271, 0}, d.PrimaryQuantity()};
    const AxisPicture x = LayoutAxis(d, f, kAxisX, r);
    EXPECT_EQ(x.tickValues, (std::vector<int32_t>{0, 1000, 2000, 3000, 4000, 5000, 6000}));
    ASSERT_EQ(x.labels.size(), 7u);
    EXPECT_EQ(narrow(x.labels[0].text), "0");
    EXPECT_EQ(narrow(x.labels[6].text), "6000");
    // tick 0 lies 600 × 271 / 6542 = 24 pixels right of the plot's left edge
    EXPECT_EQ(x.grid[0].from.x, 124);
    EXPECT_EQ(x.labels[0].box.left, 124 - 28);  // 7.5 mm = 28 pixels
    EXPECT_EQ(x.labels[0].box.top, 450 + 8);    // 2 mm below the plot
}

TEST(DiagramScale, TickPlacementTable) {
    struct Case {
        int32_t min, max, extent, pitch;
        std::vector<int32_t> ticks;
    } cases[] = {
        {-271, 6271, 600, 57, {0, 1000, 2000, 3000, 4000, 5000, 6000}},
        {100, 180, 76, 15, {100, 120, 140, 160, 180}},          // lambda panel: 5 intervals of 2.0 A/F
        {100, 180, 10, 15, {100, 150}},                          // too low: one interval at least
        {-16000, 16000, 400, 45, {-15000, -10000, -5000, 0, 5000, 10000, 15000}},
        {5, 7, 400, 45, {5, 6, 7}},
        {7, 5, 400, 45, {}},                                     // an inverted range has no ticks
    };
    for (const auto& c : cases)
        EXPECT_EQ(TickValues(PlaceTicks(c.min, c.max, c.extent, c.pitch)), c.ticks)
            << c.min << ".." << c.max << " over " << c.extent << " at " << c.pitch;
}

// ---- ranges ------------------------------------------------------------------

TEST(DiagramRanges, EmptyDiagramSpansSixteenThousandBothWays) {
    for (int y : {0, 3, 7, 8}) {
        DiagramState d(engineUncorrected(), loadedSettings());
        d.SetQuantities(kQuantityEngineSpeed, y);
        EXPECT_EQ(d.view, (IntRect{-16000, 16000, 16000, -16000})) << "Y quantity " << y;
        EXPECT_EQ(d.fullRange, d.view) << "Y quantity " << y;
        EXPECT_EQ(d.view.top, 16000);
        EXPECT_EQ(d.view.bottom, -16000);
    }
}

TEST(DiagramRanges, FlatCurveGetsPlusMinusOne) {
    DiagramState d(engineUncorrected(), loadedSettings());
    d.measurements[d.count++] = steadyRun(400, 100000);  // 20 roller revolutions per second
    d.SetQuantities(kQuantityTime, kQuantitySpeed);
    // 1.25 m × 20 /s × 3.6 = 90.0 km/h
    EXPECT_EQ(d.view.top, 901);
    EXPECT_EQ(d.view.bottom, 899);
    d.SetQuantities(kQuantityTime, kQuantityEngineSpeed);  // 3600 U/min
    EXPECT_EQ(d.view.top, 3601);
    EXPECT_EQ(d.view.bottom, 3599);
}

TEST(DiagramRanges, RangesFollowTheCurvesOfAllFiles) {
    Diagram g({L"runup.kxm", L"v12.kxm"});
    DiagramState& d = g.d;
    struct Case {
        int x, y;
    } views[] = {{5, 2}, {5, 3}, {5, 1}, {4, 5}, {0, 5}, {6, 0}};
    for (const auto& v : views) {
        d.SetQuantities(v.x, v.y);
        const ValueSpan xs = RangeWithMargins(valueSpan(d, v.x, 2).lo, valueSpan(d, v.x, 2).hi);
        const ValueSpan ys = RangeWithMargins(valueSpan(d, v.y, 2).lo, valueSpan(d, v.y, 2).hi);
        EXPECT_EQ(d.view, (IntRect{xs.lo, ys.hi, xs.hi, ys.lo})) << "view " << v.x << "/" << v.y;
        EXPECT_EQ(d.fullRange, d.view);
    }
}

TEST(DiagramRanges, CombinedViewsStartPowerAtZeroAndTorqueAtFiveQuarters) {
    for (int view : {7, 8}) {
        Diagram g({L"runup.kxm"});
        DiagramState& d = g.d;
        d.SetQuantities(kQuantityEngineSpeed, view);
        const int power = view == 7 ? 3 : 2;
        EXPECT_EQ(d.PrimaryQuantity(), power);
        const ValueSpan p = RangeWithMargins(valueSpan(d, power, 1).lo, valueSpan(d, power, 1).hi);
        const ValueSpan t = RangeWithMargins(valueSpan(d, 1, 1).lo, valueSpan(d, 1, 1).hi);
        EXPECT_EQ(d.fullRange.top, p.hi) << "view " << view;
        EXPECT_EQ(d.fullRange.bottom, 0) << "view " << view;
        EXPECT_EQ(d.fullTorqueRange.top, t.hi * 5 / 4) << "view " << view;
        EXPECT_EQ(d.fullTorqueRange.bottom, 0) << "view " << view;
        EXPECT_EQ(d.torqueRangeTop, d.fullTorqueRange.top);
        EXPECT_EQ(d.torqueRangeBottom, 0);
        EXPECT_EQ(d.yQuantity, view);
    }
}

TEST(DiagramRanges, CombinedViewsUseTheFirstThreeButEvaluateAll) {
    Diagram g({L"runup.kxm", L"v11.kxm", L"v12.kxm", L"v10.kxm"});
    DiagramState& d = g.d;
    ASSERT_EQ(d.count, 4);
    d.SetQuantities(kQuantityEngineSpeed, 7);
    EXPECT_EQ(d.CurveCount(), 3);
    const ValueSpan p = RangeWithMargins(valueSpan(d, 3, 3).lo, valueSpan(d, 3, 3).hi);
    EXPECT_EQ(d.fullRange.top, p.hi);
    // the fourth still has its maxima for the printed page
    d.measurements[3]->maxRpmIndex = 0;
    d.ForgetEvaluations();
    d.ComputeRanges();
    EXPECT_GT(d.measurements[3]->maxRpmIndex, 0);
    d.SetQuantities(kQuantityEngineSpeed, 3);
    EXPECT_EQ(d.CurveCount(), 4);
}

TEST(DiagramRanges, EvaluationsAreRedoneExactlyWhenTheirInputsChange) {
    Diagram g({L"runup.kxm", L"v12.kxm"});
    DiagramState& d = g.d;
    // what a fresh evaluation gives
    auto fresh = [&](int i) {
        Measurement copy = *d.measurements[i];
        EvaluationCursor c(d.options, loadedSettings());
        c.evaluate(copy);
        return copy;
    };
    auto same = [](const Measurement& a, const Measurement& b) {
        return a.maxRpmIndex == b.maxRpmIndex && a.maxPowerIndex == b.maxPowerIndex &&
               a.maxTorqueIndex == b.maxTorqueIndex && a.lossIndex == b.lossIndex &&
               a.correctionFactor == b.correctionFactor && a.lossTorque == b.lossTorque;
    };
    struct Change {
        const char* what;
        std::function<void(DiagramState&)> apply;
    } changes[] = {
        {"nothing", [](DiagramState&) {}},
        {"view", [](DiagramState& s) { s.xQuantity = kQuantityTime; }},
        {"combined view", [](DiagramState& s) { s.yQuantity = kQuantityPowerTorqueKw; }},
        {"correction", [](DiagramState& s) { s.options.correction = 2; }},
        {"power mode", [](DiagramState& s) { s.options.powerMode = kPowerAtAxle; }},
        {"loss time", [](DiagramState& s) { s.options.lossTime = 1.5; }},
        {"weather", [](DiagramState& s) { s.measurements[0]->temperature = 35; }},
        {"gear ratio", [](DiagramState& s) { s.measurements[0]->gearRatio = 2.5; }},
        {"inertia", [](DiagramState& s) { s.measurements[1]->inertia = 9.0; }},
        {"other view", [](DiagramState& s) { s.SetQuantities(kQuantityEngineSpeed, kQuantityTorque); }},
        {"spoiled maximum", [](DiagramState& s) {
             s.measurements[0]->maxPowerIndex = 3;
             s.ForgetEvaluations();
         }},
    };
    // the ranges a new diagram with the same files and choices computes
    auto freshRanges = [&]() {
        DiagramState other(d.options, loadedSettings());
        for (int i = 0; i < d.count; ++i) other.measurements[other.count++] = std::make_unique<Measurement>(*d.measurements[i]);
        other.SetQuantities(d.xQuantity, d.yQuantity);
        return std::make_pair(other.fullRange, other.fullTorqueRange);
    };
    for (const auto& c : changes) {
        c.apply(d);
        d.ComputeRanges();
        for (int i = 0; i < d.count; ++i) EXPECT_TRUE(same(*d.measurements[i], fresh(i))) << c.what << ", file " << i;
        const auto expected = freshRanges();
        EXPECT_EQ(d.fullRange, expected.first) << c.what;
        if (d.IsCombinedView()) {
            EXPECT_EQ(d.fullTorqueRange, expected.second) << c.what;
        }
    }
}

// ---- layout and mapping --------------------------------------------------------

TEST(DiagramLayout, PlotAreasAtNinetySixDpi) {
    const Surface r = screen(96);
    struct Case {
        const char* what;
        IntRect outer;
        PlotPlacement placement;
        IntRect plot;
        int32_t torqueTop;
    } cases[] = {
        // margins 15, 9, 9 and 12 mm: 57, 34, 34 and 45 pixels
        {"main", {0, 0, 800, 600}, kMainPlot, {57, 34, 766, 555}, 555 - 521 * 2 / 3},
        {"main over lambda", {0, 0, 800, 600}, kMainPlotOverLambda, {57, 34, 766, 435}, 435 - 401 * 2 / 3},
        {"lambda panel", {0, 0, 800, 600}, kLambdaPanel, {57, 499, 766, 592}, 592 - 93 * 2 / 3},
        {"shifted", {10, 20, 410, 320}, kMainPlot, {67, 54, 376, 275}, 275 - 221 * 2 / 3},
    };
    for (const auto& c : cases) {
        DiagramState d(engineUncorrected(), loadedSettings());
        const PlotLayout l = LayoutPlot(c.outer, c.placement, r);
        EXPECT_EQ(l.plot, c.plot) << c.what << ": " << l.plot.left << "," << l.plot.top << "," << l.plot.right << "," << l.plot.bottom;
        EXPECT_EQ(d.PrimaryFrame(l).plot.top, c.plot.top) << c.what;
        EXPECT_EQ(l.torqueTop, c.torqueTop) << c.what;
        EXPECT_EQ(d.TorqueFrame(l).plot.top, c.torqueTop) << c.what;
    }
}

TEST(DiagramLayout, MainPlotIsAtLeastFiftyMillimetresAndMakesRoomForTorque) {
    const Surface r = screen(96);
    DiagramState d(engineUncorrected(), loadedSettings());
    PlotLayout l = d.LayoutMainPlot({0, 0, 800, 100}, r);
    EXPECT_EQ(l.outer.bottom, 189);  // 50 mm
    EXPECT_EQ(l.plot.bottom, 189 - 45);
    d.yQuantity = 7;
    l = d.LayoutMainPlot({0, 0, 800, 600}, r);
    EXPECT_EQ(l.plot.right, 766 - 28);  // 7.5 mm for the torque axis
    d.lambdaShown = true;
    l = d.LayoutMainPlot({0, 0, 800, 600}, r);
    EXPECT_EQ(l.plot.bottom, 435);
}

TEST(DiagramLayout, DeviceAndDataMappingBothWays) {
    AxisFrame d{{50, 20, 650, 420}, {-271, 2000, 6271, -100}, kQuantityPowerKw};
    struct Case {
        int32_t value;
        int32_t x;
    } xs[] = {{-271, 50}, {6271, 650}, {0, 74}, {3000, 350}, {30000, 50 + 600 * 30271 / 6542}};
    for (const auto& c : xs) EXPECT_EQ(d.ToDeviceX(c.value), c.x) << "x of " << c.value;
    struct YCase {
        int32_t value;
        int32_t y;
    } ys[] = {{2000, 20}, {-100, 420}, {0, 20 + 400 * 2000 / 2100}, {1000, 20 + 400 * 1000 / 2100}};
    for (const auto& c : ys) EXPECT_EQ(d.ToDeviceY(c.value), c.y) << "y of " << c.value;
    const IntRect data = d.ToData({50, 20, 650, 420});
    EXPECT_EQ(data, d.view);
    const IntRect inner = d.ToData({349, 210, 349, 210});
    EXPECT_EQ(inner.left, -271 + 299 * 6542 / 600);
    EXPECT_EQ(inner.top, 2000 + 190 * -2100 / 400);
    // no extent, no division
    d.view = {5, 5, 5, 5};
    EXPECT_EQ(d.ToDeviceX(7), 50);
    EXPECT_EQ(d.ToDeviceY(7), 20);
    d.plot = {50, 20, 50, 20};
    EXPECT_EQ(d.ToData({60, 30, 60, 30}), (IntRect{5, 5, 5, 5}));
}

TEST(DiagramLayout, ViewSevenDrawsTorqueInTheLowerTwoThirds) {
    const Surface r = screen(96);
    Diagram g({L"runup.kxm"});
    DiagramState& d = g.d;
    d.SetQuantities(kQuantityEngineSpeed, 7);
    const PlotLayout l = d.LayoutMainPlot({0, 0, 800, 600}, r);
    const AxisPicture left = LayoutAxis(d, d.PrimaryFrame(l), kAxisLeft, r);
    EXPECT_EQ(narrow(left.title.text), "Leistung [kW] (Motor, unkorrigiert)");
    ASSERT_FALSE(left.tickValues.empty());
    EXPECT_EQ(left.tickValues.front(), 0);  // kW from 0
    const AxisFrame torque = d.TorqueFrame(l);
    EXPECT_EQ(torque.plot.top, l.torqueTop);
    EXPECT_EQ(torque.quantity, kQuantityTorque);
    const AxisPicture right = LayoutAxis(d, torque, kAxisRight, r);
    EXPECT_EQ(narrow(right.title.text), "Drehmoment [Nm] (Motor, unkorrigiert)");
    EXPECT_EQ(right.gridColour, kRed);
    EXPECT_EQ(right.tickValues.front(), 0);
    EXPECT_LE(right.tickValues.back(), d.fullTorqueRange.top);
    for (const auto& g : right.grid) {
        EXPECT_GE(g.from.y, l.torqueTop);
        EXPECT_LE(g.from.y, l.plot.bottom);
    }
    for (const auto& b : right.labels) EXPECT_LE(b.box.bottom, l.plot.bottom) << narrow(b.text);
    EXPECT_EQ(right.axisLine.from.x, l.plot.right + r.MmX(20));
    EXPECT_EQ(right.title.anchor.y, l.torqueTop - r.MmY(85));
    // the torque frame is a view of the state: the primary frame is unchanged
    const AxisFrame primary = d.PrimaryFrame(l);
    EXPECT_EQ(primary.plot.top, l.plot.top);
    EXPECT_EQ(primary.view, d.view);
}

TEST(DiagramAxes, TitlesWithPowerModeAndCorrection) {
    const Surface r = screen(96);
    DiagramState d(engineUncorrected(), loadedSettings());
    const PlotLayout l{{}, {57, 34, 766, 555}, 0};
    // the axis of kind `kind` is drawn on the frame of its quantity
    auto frameOf = [&](int kind) {
        if (d.yQuantity == kQuantityLambda) return d.LambdaFrame(l);
        return kind == kAxisRight ? d.TorqueFrame(l) : d.PrimaryFrame(l);
    };
    struct Case {
        int x, y, powerMode, correction, kind;
        const char* title;
    } cases[] = {
        {5, 2, 0, 1, kAxisLeft, "Leistung [PS] (Motor, DIN 70020)"},
        {5, 3, 1, 2, kAxisLeft, "Leistung [kW] (Achse, ISO 1585)"},
        {5, 1, 0, 0, kAxisLeft, "Drehmoment [Nm] (Motor, unkorrigiert)"},
        {5, 1, 0, 0, kAxisX, "Drehzahl [U/min]"},
        {4, 0, 0, 0, kAxisLeft, "Geschwindigkeit [km/h]"},
        {6, 5, 0, 0, kAxisX, "Wegstrecke [m]"},
        {5, 8, 0, 1, kAxisLeft, "Leistung [PS] (Motor, DIN 70020)"},
        {5, 8, 0, 1, kAxisRight, "Drehmoment [Nm] (Motor, DIN 70020)"},
        {5, 2, 7, 0, kAxisLeft, "Leistung [PS] (Fehler, unkorrigiert)"},
        {5, 2, 0, 3, kAxisLeft, "Leistung [PS] (Motor, Fehler)"},
        {5, 9, 0, 0, kAxisLeft, "A/F"},
    };
    for (const auto& c : cases) {
        d.xQuantity = c.x;
        d.yQuantity = c.y;
        d.options.powerMode = uint16_t(c.powerMode);
        d.options.correction = uint16_t(c.correction);
        EXPECT_EQ(narrow(AxisTitle(d, frameOf(c.kind), c.kind, r).text), c.title)
            << "view " << c.x << "/" << c.y << " kind " << c.kind;
    }
    d.yQuantity = 2;
    const AxisTitleText x = AxisTitle(d, frameOf(kAxisX), kAxisX, r), left = AxisTitle(d, frameOf(kAxisLeft), kAxisLeft, r);
    EXPECT_EQ(x.align, TitleAlign::Right);
    EXPECT_EQ(x.anchor.x, 766 + 19);
    EXPECT_EQ(x.anchor.y, 555 + 25);
    EXPECT_EQ(left.align, TitleAlign::Left);
    EXPECT_EQ(left.anchor.x, 57 + 19);
    EXPECT_EQ(left.anchor.y, 34 - 32);
}

TEST(DiagramAxes, TitlesNameTheSmoothingAndMarkAFactorOutsideTheBand) {
    const Surface r = screen(96);
    const PlotLayout l{{}, {57, 34, 766, 555}, 0};
    Diagram diagram({L"runup.kxm", L"runup.kxm"});
    DiagramState& d = diagram.d;
    d.xQuantity = 5;
    struct Case {
        const char* what;
        int y;
        uint16_t correction, smoothing, pressure;  // pressure of the second run
        const char* left;
    } cases[] = {
        {"unsmoothed", 2, 1, 0, 1013, "Leistung [PS] (Motor, DIN 70020)"},
        {"medium", 2, 1, 1, 1013, "Leistung [PS] (Motor, DIN 70020, Glättung mittel)"},
        {"strong, in kW", 3, 2, 2, 1013, "Leistung [kW] (Motor, ISO 1585, Glättung stark)"},
        {"torque", 1, 0, 1, 1013, "Drehmoment [Nm] (Motor, unkorrigiert, Glättung mittel)"},
        {"second run far off", 2, 1, 0, 900, "Leistung [PS] (Motor, DIN 70020) (!)"},
        {"far off, smoothed", 2, 1, 2, 900, "Leistung [PS] (Motor, DIN 70020, Glättung stark) (!)"},
        {"far off, uncorrected", 2, 0, 0, 900, "Leistung [PS] (Motor, unkorrigiert)"},
        {"just inside", 1, 1, 0, 947, "Drehmoment [Nm] (Motor, DIN 70020)"},
        {"just outside", 1, 1, 0, 946, "Drehmoment [Nm] (Motor, DIN 70020) (!)"},
        {"beyond the list", 2, 0, 9, 1013, "Leistung [PS] (Motor, unkorrigiert, Glättung stark)"},
    };
    for (const auto& c : cases) {
        d.measurements[0]->temperature = 20;
        d.measurements[0]->pressure = 1013;
        d.measurements[1]->temperature = 20;
        d.measurements[1]->pressure = c.pressure;
        d.options.correction = c.correction;
        d.options.smoothing = c.smoothing;
        d.SetQuantities(5, c.y);  // evaluates again: the header values changed
        EXPECT_EQ(narrow(AxisTitle(d, d.PrimaryFrame(l), kAxisLeft, r).text), c.left) << c.what;
        EXPECT_EQ(narrow(AxisTitle(d, d.PrimaryFrame(l), kAxisX, r).text), "Drehzahl [U/min]") << c.what;
    }
    // the combined view marks both of its axes
    d.measurements[1]->pressure = 900;
    d.options.correction = 1;
    d.options.smoothing = 1;
    d.SetQuantities(5, 8);
    EXPECT_EQ(narrow(AxisTitle(d, d.PrimaryFrame(l), kAxisLeft, r).text), "Leistung [PS] (Motor, DIN 70020, Glättung mittel) (!)");
    EXPECT_EQ(narrow(AxisTitle(d, d.TorqueFrame(l), kAxisRight, r).text), "Drehmoment [Nm] (Motor, DIN 70020, Glättung mittel) (!)");
}

TEST(DiagramState, SmoothingChangesTheEvaluationAndIsPartOfItsKey) {
    Diagram diagram({L"runup.kxm"});
    DiagramState& d = diagram.d;
    d.SetQuantities(5, 1);
    auto points = [&] {
        int n = 1;
        d.cursor.rewind(*d.measurements[0]);
        while (d.cursor.advance()) ++n;
        return n;
    };
    const int unsmoothedPoints = points();
    const IntRect unsmoothedRange = d.fullRange;
    const uint16_t unsmoothedTorque = d.measurements[0]->maxTorqueIndex;
    d.options.smoothing = 2;
    d.ComputeRanges();  // no ForgetEvaluations: the key must see the change
    EXPECT_LT(points(), unsmoothedPoints * 2 / 3) << "wider windows, fewer points";
    EXPECT_NE(d.fullRange, unsmoothedRange);
    d.options.smoothing = 0;
    d.ComputeRanges();
    EXPECT_EQ(points(), unsmoothedPoints);
    EXPECT_EQ(d.fullRange, unsmoothedRange);
    EXPECT_EQ(d.measurements[0]->maxTorqueIndex, unsmoothedTorque);
}

TEST(DiagramAxes, LeftAxisGridMarksLabelsAndArrow) {
    const Surface r = screen(96);
    DiagramState d(engineUncorrected(), loadedSettings());
    d.xQuantity = 5;
    d.yQuantity = 3;
    AxisFrame f{{57, 34, 766, 555}, {0, 1500, 7000, -20}, d.PrimaryQuantity()};
    const AxisPicture a = LayoutAxis(d, f, kAxisLeft, r);
    // 521 pixels / 45 = 11 intervals over 152.0 kW: 20 kW steps
    EXPECT_EQ(a.tickValues.front(), 0);
    EXPECT_EQ(a.tickValues[1], 200);
    ASSERT_EQ(a.labels.size(), a.tickValues.size());
    EXPECT_EQ(narrow(a.labels[1].text), "20.0");
    const int32_t y = f.ToDeviceY(200);
    EXPECT_EQ(a.grid[1].from.x, 57);
    EXPECT_EQ(a.grid[1].to.x, 766);
    EXPECT_EQ(a.marks[1].from.x, 57 - 8);
    EXPECT_EQ(a.marks[1].to.x, 57 + 8);
    EXPECT_EQ(a.labels[1].box, (IntRect{57 - 57, y - 19, 57 - 11, y + 19}));
    EXPECT_EQ(a.axisLine.from.y, 555 + 8);
    EXPECT_EQ(a.axisLine.to.y, 34 - 8);
    EXPECT_EQ(a.arrow[2].y, 34 - 26);
    EXPECT_EQ(a.arrow[0].x, 57 - 6);
    EXPECT_FALSE(a.lambdaDecorations);
    // ticks above the device's top edge get nothing
    f.plot = {57, -100, 766, 555};
    const AxisPicture clipped = LayoutAxis(d, f, kAxisLeft, r);
    EXPECT_LT(clipped.grid.size(), clipped.tickValues.size());
}

TEST(DiagramAxes, LambdaPanelAxes) {
    const Surface r = screen(96);
    DiagramState d(engineUncorrected(), loadedSettings());
    d.xQuantity = 5;
    d.view = {0, 1500, 7000, -20};
    const AxisFrame f = d.LambdaFrame({{}, {57, 499, 766, 592}, 0});
    EXPECT_EQ(f.view, (IntRect{0, kLambdaTop, 7000, kLambdaBottom}));
    const AxisPicture x = LayoutAxis(d, f, kAxisX, r);
    EXPECT_FALSE(x.grid.empty());
    EXPECT_TRUE(x.marks.empty());
    EXPECT_TRUE(x.labels.empty());
    EXPECT_FALSE(x.hasAxisLine);
    EXPECT_FALSE(x.hasTitle);
    const AxisPicture y = LayoutAxis(d, f, kAxisLeft, r);
    EXPECT_TRUE(y.lambdaDecorations);
    // 93 pixels / 15 (4 mm) = 6 intervals over 8.0 A/F: steps of 2.0
    std::vector<std::string> labels;
    for (const auto& l : y.labels) labels.push_back(narrow(l.text));
    EXPECT_EQ(labels, (std::vector<std::string>{"10.0", "12.0", "14.0", "16.0", "18.0"}));
    EXPECT_EQ(narrow(y.title.text), "A/F");
}

TEST(DiagramAxes, LambdaPanelMarksFettAtTheRichEndAndMagerAtTheLeanEndClearOfEveryText) {
    DiagramState d(engineUncorrected(), loadedSettings());
    d.lambdaShown = true;
    d.xQuantity = 5;
    d.view = {0, 1500, 7000, -20};
    for (const Surface& s : {screen(96), Surface{300, 300, true}, Surface{600, 600, true}}) {
        const std::string where = std::to_string(s.dpiX) + (s.paper ? " dpi paper" : " dpi screen");
        const IntRect outer{s.MmX(220), s.MmY(200), s.MmX(1880), s.MmY(1500)};
        const PlotLayout main = d.LayoutMainPlot(outer, s);
        const AxisFrame panel = d.LambdaFrame(LayoutPlot(outer, kLambdaPanel, s));
        const MixtureMarks marks = LayoutMixtureMarks(panel, s);
        const AxisPicture scale = LayoutAxis(d, panel, kAxisLeft, s);
        const AxisPicture mainX = LayoutAxis(d, d.PrimaryFrame(main), kAxisX, s);
        ASSERT_GE(scale.labels.size(), 2u) << where;
        const AxisLabel& rich = scale.labels.front();
        const AxisLabel& lean = scale.labels.back();
        EXPECT_EQ(narrow(rich.text), "10.0") << where;
        EXPECT_EQ(narrow(lean.text), "18.0") << where;
        auto middle = [](const IntRect& r) { return (r.top + r.bottom) / 2; };
        auto distance = [&](const IntRect& mark, const AxisLabel& label) {
            return std::abs(middle(mark) - middle(label.box));
        };
        EXPECT_LT(distance(marks.rich, rich), distance(marks.rich, lean)) << where << ": FETT by 10.0";
        EXPECT_LT(distance(marks.lean, lean), distance(marks.lean, rich)) << where << ": MAGER by 18.0";
        for (const IntRect& mark : {marks.rich, marks.lean}) {
            EXPECT_EQ(mark.width(), s.MmX(70)) << where;
            EXPECT_EQ(mark.height(), s.MmY(40)) << where;
            EXPECT_GE(mark.top, panel.plot.top) << where;
            EXPECT_LE(mark.bottom, panel.plot.bottom) << where;
            EXPECT_GT(mark.left, panel.plot.right) << where << ": beside the curves, not on them";
            EXPECT_LE(mark.right, outer.right) << where;
            for (const auto* axis : {&scale, &mainX})
                for (const AxisLabel& label : axis->labels) {
                    const bool apart = mark.right <= label.box.left || label.box.right <= mark.left ||
                                       mark.bottom <= label.box.top || label.box.bottom <= mark.top;
                    EXPECT_TRUE(apart) << where << ": label " << narrow(label.text);
                }
            // the main plot's X title hangs one text line below its anchor
            EXPECT_GT(mark.top, mainX.title.anchor.y + s.MmY(loadedSettings().fontHeight * 4 / 3)) << where;
        }
    }
}

// ---- curves ------------------------------------------------------------------

TEST(DiagramCurves, PolylineThroughEvaluationPointsAndLossMark) {
    const Surface r = screen(96);
    Diagram g({L"runup.kxm"});
    DiagramState& d = g.d;
    d.SetQuantities(kQuantityEngineSpeed, kQuantityPowerPs);
    const PlotLayout l = d.LayoutMainPlot({0, 0, 800, 600}, r);
    const AxisFrame f = d.PrimaryFrame(l);
    std::vector<IntPoint> points;
    IntPoint loss;
    ASSERT_TRUE(d.CurvePoints(0, f, points, &loss));
    size_t expected = 1;
    d.cursor.rewind(*d.measurements[0]);
    while (d.cursor.advance()) ++expected;
    EXPECT_EQ(points.size(), expected);
    for (const auto& p : points) {
        EXPECT_GE(p.x, l.plot.left);
        EXPECT_LE(p.x, l.plot.right);
        EXPECT_GE(p.y, l.plot.top);
        EXPECT_LE(p.y, l.plot.bottom);
    }
    d.cursor.openWindow(d.measurements[0]->lossIndex);
    EXPECT_EQ(loss.x, f.ToDeviceX(d.cursor.quantityValue(5, d.cursor.index())));
    d.pageView = true;
    EXPECT_FALSE(d.CurvePoints(0, f, points, &loss));
    d.pageView = false;
    const AxisFrame panel = d.LambdaFrame(l);
    EXPECT_FALSE(d.CurvePoints(0, panel, points, &loss));
    EXPECT_FALSE(d.CurvePoints(1, panel, points, &loss));
    EXPECT_TRUE(points.empty());
}

TEST(DiagramCurves, FileWithoutLambdaDrawsBelowThePanel) {
    Diagram g({L"v11.kxm", L"runup.kxm"});
    DiagramState& d = g.d;
    d.SetQuantities(kQuantityEngineSpeed, kQuantityLambda);
    const AxisFrame f = d.LambdaFrame({{}, {57, 499, 766, 592}, 0});
    std::vector<IntPoint> points;
    d.CurvePoints(0, f, points, nullptr);
    ASSERT_FALSE(points.empty());
    for (const auto& p : points) EXPECT_GT(p.y, f.plot.bottom);
    d.CurvePoints(1, f, points, nullptr);
    int inside = 0;
    for (const auto& p : points) inside += p.y >= f.plot.top && p.y <= f.plot.bottom;
    EXPECT_GT(inside, int(points.size()) / 2);
}

// ---- files -------------------------------------------------------------------

TEST(DiagramFiles, AddFileResults) {
    DiagramState d(engineUncorrected(), loadedSettings());
    struct Case {
        const wchar_t* file;
        AddResult result;
        int count;
    } cases[] = {
        {L"garbage.kxm", AddResult::BadFormat, 0}, {L"truncated.kxm", AddResult::BadFormat, 0},
        {L"runup.kxm", AddResult::Added, 1},       {L"worked.kxm", AddResult::NoLossPoint, 2},
        {L"missing.kxm", AddResult::BadFormat, 2}, {L"v12.kxm", AddResult::NoLossPoint, 3},
        {L"runup.kxm", AddResult::Added, 4},       {L"runup.kxm", AddResult::Added, 5},
        {L"runup.kxm", AddResult::Added, 6},       {L"runup.kxm", AddResult::Added, 7},
        {L"runup.kxm", AddResult::Full, 7},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(int(d.AddFile(kDataDir + L"/" + c.file)), int(c.result)) << narrow(c.file) << " as file " << c.count;
        EXPECT_EQ(d.count, c.count) << narrow(c.file);
    }
    EXPECT_TRUE(d.IsFull());
    EXPECT_EQ(narrow(d.measurements[0]->fileName), narrow(kDataDir + L"/runup.kxm"));
    d.ReleaseAll();
    EXPECT_EQ(d.count, 0);
    EXPECT_FALSE(d.pending);
}

// ---- zoom and read-out ---------------------------------------------------------

TEST(DiagramZoom, BandMustExceedTenPixelsBothWays) {
    struct Case {
        IntRect band;
        bool zooms;
    } cases[] = {
        {{100, 100, 110, 150}, false}, {{100, 100, 150, 110}, false}, {{100, 100, 111, 111}, true},
        {{111, 111, 100, 100}, true},  {{100, 100, 100, 100}, false}, {{300, 400, 200, 100}, true},
    };
    for (const auto& c : cases) {
        Diagram g({L"runup.kxm"});
        DiagramState& d = g.d;
        const PlotLayout l{{}, {50, 20, 650, 420}, 20 + 400 / 3};
        const IntRect before = d.view;
        const IntRect expected = d.PrimaryFrame(l).ToData(normalised(c.band));
        EXPECT_EQ(d.FinishZoom(c.band, l, false), c.zooms) << c.band.left << "," << c.band.top << " - " << c.band.right << "," << c.band.bottom;
        if (c.zooms) {
            EXPECT_EQ(d.view, expected);
            EXPECT_EQ(d.PrimaryFrame(l).view.top, d.view.top);
        } else {
            EXPECT_EQ(d.view, before);
        }
        d.ZoomAll();
        EXPECT_EQ(d.view, before);
    }
}

TEST(DiagramZoom, CtrlZoomInViewSevenChangesTorqueAndXOnly) {
    const Surface r = screen(96);
    Diagram g({L"runup.kxm"});
    DiagramState& d = g.d;
    d.SetQuantities(kQuantityEngineSpeed, 7);
    const PlotLayout l = d.LayoutMainPlot({0, 0, 800, 600}, r);
    const IntRect full = d.view;
    const int32_t torqueTop = d.torqueRangeTop;
    const IntRect band{200, 300, 400, 450};
    const IntRect expected = d.TorqueFrame(l).ToData(band);
    ASSERT_TRUE(d.FinishZoom(band, l, true));
    EXPECT_EQ(d.torqueRangeTop, expected.top);
    EXPECT_EQ(d.torqueRangeBottom, expected.bottom);
    EXPECT_EQ(d.view.left, expected.left);
    EXPECT_EQ(d.view.right, expected.right);
    EXPECT_EQ(d.view.top, full.top);
    EXPECT_EQ(d.view.bottom, full.bottom);
    EXPECT_EQ(d.PrimaryFrame(l).view.top, full.top);
    EXPECT_EQ(d.PrimaryFrame(l).plot.top, l.plot.top);
    d.ZoomAll();
    EXPECT_EQ(d.view, full);
    EXPECT_EQ(d.torqueRangeTop, torqueTop);
    EXPECT_EQ(d.torqueRangeBottom, 0);
}

TEST(DiagramReadout, PointerAndDragTexts) {
    DiagramState d(engineUncorrected(), loadedSettings());
    const IntRect plot{0, 0, 700, 300};
    d.view = {0, 3000, 7000, 0};
    d.torqueRangeTop = 600;
    d.torqueRangeBottom = 0;
    struct Case {
        int x, y;
        bool torque;
        bool dragging;
        IntRect rect;
        const char* text;
    } cases[] = {
        {5, 3, false, 0, {0, 0, 350, 150}, "(3500 U/min, 150.0 kW)"},
        {5, 2, false, 1, {0, 0, 350, 150}, "(0 U/min, 300.0 PS) -> (3500 U/min, 150.0 PS)"},
        {4, 0, false, 0, {0, 0, 700, 300}, "(70.00 s, 0.0 km/h)"},
        {5, 7, false, 0, {0, 0, 100, 100}, "(1000 U/min, 200.0 kW)"},
        {5, 7, true, 0, {0, 0, 100, 100}, "(1000 U/min, 200.0 Nm)"},
        {5, 8, false, 0, {0, 0, 100, 100}, "(1000 U/min, 200.0 PS)"},
        {5, 8, true, 0, {0, 0, 100, 100}, "(1000 U/min, 200.0 Nm)"},
    };
    for (const auto& c : cases) {
        d.xQuantity = c.x;
        d.yQuantity = c.y;
        // the read-out names the quantity of the axis meant, over this plot and view
        const AxisFrame f{plot, d.view, d.ReadoutQuantity(c.torque)};
        EXPECT_EQ(narrow(d.Readout(f, c.rect, c.dragging)), c.text) << "view " << c.x << "/" << c.y << " torque " << c.torque;
    }
    EXPECT_EQ(narrow(OutsideReadout({57, 34, 766, 555}, {800, 10})), "(766, 34, 57, 555) <- (800, 10)");
}

TEST(DiagramCommands, QuickViews) {
    struct Case {
        int command, powerUnit, x, y;
    } cases[] = {
        {1551, 0, 5, 2}, {1551, 1, 5, 3}, {1550, 0, 5, 1}, {1549, 1, 4, 5},
        {1546, 0, 0, 5}, {1555, 0, 5, 8}, {1555, 1, 5, 7},
    };
    for (const auto& c : cases) {
        int32_t x = -1, y = -1;
        EXPECT_TRUE(QuickView(c.command, c.powerUnit, x, y)) << c.command;
        EXPECT_EQ(x, c.x) << c.command << " unit " << c.powerUnit;
        EXPECT_EQ(y, c.y) << c.command << " unit " << c.powerUnit;
    }
    int32_t x = 0, y = 0;
    EXPECT_FALSE(QuickView(1544, 0, x, y));
}

// ---- page view ---------------------------------------------------------------

TEST(DiagramPage, BandKeepsTheParentsAspect) {
    struct Case {
        IntPoint anchor, pointer;
        int32_t pw, ph;
        IntRect band;
    } cases[] = {
        {{10, 10}, {50, 20}, 800, 400, {10, 10, 50, 30}},
        {{10, 10}, {20, 50}, 800, 400, {10, 10, 90, 50}},
        {{100, 100}, {60, 90}, 800, 400, {100, 100, 60, 80}},
        {{100, 100}, {90, 60}, 800, 400, {100, 100, 20, 60}},
        {{5, 5}, {5, 5}, 800, 400, {5, 5, 5, 5}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PageBand(c.anchor, c.pointer, c.pw, c.ph), c.band) << c.pointer.x << "," << c.pointer.y;
}

TEST(DiagramPage, PlacementAndFit) {
    // band (100, 50)-(300, 150) of a 400 × 300 page window in an 800 × 400 parent
    EXPECT_EQ(PagePlacementForBand({400, 300}, {800, 400}, {100, 50, 300, 150}), (IntRect{-400, -200, 1200, 1000}));
    struct Case {
        IntRect area;
        int32_t w, h;
        IntRect page;
    } cases[] = {
        {{5, 5, 795, 395}, 210, 297, {5 + (790 - 276) / 2, 5, 5 + (790 - 276) / 2 + 276, 395}},
        {{5, 5, 205, 795}, 210, 297, {5, 5 + (790 - 283) / 2, 205, 5 + (790 - 283) / 2 + 283}},
        {{0, 0, 100, 100}, 0, 297, {0, 0, 100, 100}},
    };
    for (const auto& c : cases) EXPECT_EQ(FitPage(c.area, c.w, c.h), c.page) << c.area.right << "x" << c.area.bottom;
}

}  // namespace

namespace {

// The runs the window tests and the benchmark use evaluate to the torque
// curve they were made from.
TEST(SyntheticRuns, EvaluateToTheirTorqueCurve) {
    struct Case {
        double peakTorque, peakRpm;
    } cases[] = {{100, 4000}, {140, 3500}, {80, 5000}};
    for (const auto& c : cases) {
        RunShape shape;
        shape.peakTorque = c.peakTorque;
        shape.peakRpm = c.peakRpm;
        Measurement m = syntheticRun(shape);
        EvaluationOptions axle;
        axle.powerMode = kPowerAtAxle;
        EvaluationCursor cursor(axle, loadedSettings());
        cursor.evaluate(m);
        EXPECT_GT(m.lossIndex, m.maxRpmIndex) << c.peakTorque;
        cursor.openWindow(m.maxTorqueIndex);
        EXPECT_NEAR(cursor.quantityValue(kQuantityTorque, cursor.index()) / 10.0, c.peakTorque, c.peakTorque * 0.05)
            << c.peakTorque;
        EXPECT_NEAR(cursor.quantityValue(kQuantityEngineSpeed, cursor.index()), c.peakRpm, 400) << c.peakTorque;
        cursor.openWindow(m.maxRpmIndex);
        EXPECT_NEAR(cursor.quantityValue(kQuantityEngineSpeed, cursor.index()), 6500, 100);
        EXPECT_TRUE(m.hasLambda());
    }
    Measurement big = longRun(3);
    EXPECT_EQ(big.sampleCount, kMaxSamples);
    EXPECT_EQ(big.lambdaValues->size(), size_t(kMaxSamples));
}

}  // namespace
