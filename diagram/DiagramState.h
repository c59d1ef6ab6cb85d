#pragma once
// Everything a diagram knows, without the window: its measurements and
// evaluation choices, the chosen quantities, the visible and the automatic
// value ranges and the view switches. CDiag holds one of these; the ranges,
// the layout, the axis frames, the zoom and the loading of files live here so
// that they can be tested without a window system. Drawing reads this state
// and never writes it: a layout is computed for a surface and handed back.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "DiagramGeometry.h"
#include "EvaluationCursor.h"
#include "EvaluationOptions.h"
#include "Measurement.h"

struct Settings;

constexpr int kMaxDiagramFiles = 7;

// The range of an empty diagram on both axes.
constexpr int32_t kEmptyRange = 16000;

// The lambda panel always shows A/F 18.0 at the top and 10.0 at the bottom,
// with the reference line at 13.0.
constexpr int32_t kLambdaTop = 180;
constexpr int32_t kLambdaBottom = 100;
constexpr int32_t kLambdaReference = 130;

// Layout of a plot area: four percentages of the outer rectangle and four
// margins in tenths of a millimetre, each as (left, top, right, bottom).
struct PlotPlacement {
    int32_t percent[4];
    int32_t margin[4];
};
// The main plot: 15 mm left, 9 mm top, 9 mm right and 12 mm bottom margin.
constexpr PlotPlacement kMainPlot{{0, 100, 100, 0}, {150, 90, -90, -120}};
// The main plot above the lambda panel ends 12 mm above the 20 % line.
constexpr PlotPlacement kMainPlotOverLambda{{0, 100, 100, 20}, {150, 90, -90, -120}};
constexpr PlotPlacement kLambdaPanel{{0, 20, 100, 0}, {150, 50, -90, -20}};

// A plot area laid out on a surface: the outer rectangle it was laid out in
// (the main plot enlarges it to at least 50 mm), the plot area, and the top
// of its lower two thirds, where the torque axis of the combined views starts.
struct PlotLayout {
    IntRect outer;
    IntRect plot;
    int32_t torqueTop = 0;
};

// The plot area of `placement` in the outer rectangle.
PlotLayout LayoutPlot(const IntRect& outer, const PlotPlacement& placement, const Surface& surface);

// What AddFile did.
enum class AddResult {
    Added,        // loaded, evaluated and shown
    NoLossPoint,  // shown, but the coast-down is too short for the loss time
    BadFormat,    // not a measurement file; the diagram is unchanged
    Full,         // the diagram already holds seven measurements
};

// The axes of DrawAxis.
enum AxisKind : int { kAxisX = 0, kAxisLeft = 1, kAxisRight = 2 };

// What an evaluation of one measurement depends on besides its revolution
// times: the diagram's options, the calibration and the header values the
// data-editing dialog may change. Equal keys give equal maxima, loss point
// and correction factor.
struct EvaluationKey {
    uint16_t powerMode = 0;
    uint16_t correction = 0;
    double lossTime = 0;
    uint16_t smoothing = 0;
    double pCorr = 0;
    double mCorr = 0;
    uint16_t sampleCount = 0;
    size_t timeCount = 0;
    int16_t temperature = 0;
    uint16_t pressure = 0;
    uint16_t humidity = 0;
    double gearRatio = 0;
    double inertia = 0;
    double circumference = 0;

    bool operator==(const EvaluationKey& other) const;
};

struct DiagramState {
    explicit DiagramState(const EvaluationOptions& initialOptions);
    DiagramState(const EvaluationOptions& initialOptions, const Settings& calibration);
    DiagramState(const DiagramState&) = delete;
    DiagramState& operator=(const DiagramState&) = delete;

    // ---- members, in the order the diagram has always kept them -----------
    EvaluationOptions options;               // the correction dialog edits this one
    std::unique_ptr<Measurement> pending;    // the measurement being loaded
    EvaluationCursor cursor;                 // measurement, index, halfWidth
    std::unique_ptr<Measurement> measurements[kMaxDiagramFiles];  // index = colour and legend line
    int32_t count = 0;
    int32_t xQuantity = kQuantityTime;
    int32_t yQuantity = kQuantitySpeed;
    IntRect view;              // scaled values: visible X range and primary Y range
    int32_t torqueRangeTop = 0;     // visible range of the torque axis in the combined views
    int32_t torqueRangeBottom = 0;
    IntRect fullRange;         // automatic range: X min, primary Y top, X max, primary Y bottom
    IntRect fullTorqueRange;   // automatic torque range of the combined views (top, bottom)
    IntRect pagePlacement;     // page-view window in its parent; empty = fitted
    bool pageView = false;
    bool lambdaShown = false;

    // ---- ranges --------------------------------------------------------------
    // Every measurement's evaluation is redone by the next ComputeRanges,
    // also where nothing it depends on seems changed.
    void ForgetEvaluations();
    // Evaluate every measurement with these options, derive the automatic
    // ranges with their margins and show them (zoom all).
    void ComputeRanges();
    // Store both quantities and ComputeRanges.
    void SetQuantities(int32_t x, int32_t y);
    // view and the torque range := the automatic ranges.
    void ZoomAll();
    bool IsCombinedView() const;   // Y quantity 7 or 8
    // The power quantity of a combined view (3 for 7, 2 for 8), else the Y quantity.
    int32_t PrimaryQuantity() const;
    // How many measurements the current view draws: at most three in the
    // combined views.
    int32_t CurveCount() const;
    // False when a correction is chosen and the factor of a measurement, as
    // its last evaluation found it, lies outside the formulas' band.
    bool CorrectionsValid() const;

    // ---- layout -------------------------------------------------------------------
    // The main plot of a drawing: the outer rectangle made at least 50 mm
    // high, the layout with or without the lambda panel, room for the torque
    // axis in the combined views. The lambda panel is laid out on the
    // layout's (enlarged) outer rectangle.
    PlotLayout LayoutMainPlot(IntRect outer, const Surface& surface) const;

    // ---- axis frames -----------------------------------------------------------
    // The power (or only) Y axis over the main plot of `layout`.
    AxisFrame PrimaryFrame(const PlotLayout& layout) const;
    // The torque axis of the combined views: the lower two thirds of the plot.
    AxisFrame TorqueFrame(const PlotLayout& layout) const;
    // The lambda panel laid out in `panel`, A/F 18.0 at the top, 10.0 at the bottom.
    AxisFrame LambdaFrame(const PlotLayout& panel) const;
    // The frame the mouse works in: the torque axis when it is meant in a
    // combined view, else the primary one.
    AxisFrame MouseFrame(const PlotLayout& layout, bool torque) const;

    // ---- curves --------------------------------------------------------------
    // The polyline of measurement i through its evaluation points, in device
    // units of `frame`, with the X quantity and the frame's quantity. When
    // 'loss' is given and the loss mark belongs to this drawing (not in page
    // view, not the lambda panel), it receives the centre of the mark and the
    // answer is true.
    bool CurvePoints(int i, const AxisFrame& frame, std::vector<IntPoint>& points, IntPoint* loss);

    // ---- files -----------------------------------------------------------------
    // Load one measurement file, append it, ComputeRanges.
    AddResult AddFile(const std::wstring& path);
    bool IsFull() const { return count >= kMaxDiagramFiles; }
    // All measurements (and a leftover pending one) released.
    void ReleaseAll();

    // ---- mouse -----------------------------------------------------------------
    // Finish a rubber band (device units of `layout`) in data mode: zoom when
    // the band is more than 10 pixels wide and high and gives a proper data
    // rectangle, on the torque axis when `torque`. True when zoomed.
    bool FinishZoom(IntRect band, const PlotLayout& layout, bool torque);
    // The Y quantity named in the read-out: torque when the torque axis is
    // meant, the power side in the combined views, else the Y quantity.
    int32_t ReadoutQuantity(bool torque) const;
    // "(x unit, y unit)" of the pointer (right/bottom of `band`, in device
    // units of `frame`), with the anchor (left/top) in front while dragging:
    // "(x unit, y unit) -> (x unit, y unit)".
    std::wstring Readout(const AxisFrame& frame, const IntRect& band, bool dragging) const;

private:
    // Minimum and maximum of the X, Y and torque values of one measurement
    // as the automatic ranges take them, and what they were taken with.
    struct Span {
        bool valid = false;
        EvaluationKey key;
        int32_t x = 0, y = 0;
        bool first = false;  // includes the point rewind stands on
        bool any = false;    // has at least one value
        int32_t lo[3] = {}, hi[3] = {};
    };
    const Span& SpanOf(int32_t i, int32_t yq);
    EvaluationKey KeyOf(const Measurement& m) const;
    // evaluate measurement i unless it was evaluated with the same key
    void Evaluate(int32_t i);

    const Settings* calibration_;
    bool evaluated_[kMaxDiagramFiles] = {};
    EvaluationKey evaluatedAs_[kMaxDiagramFiles];
    Span spans_[kMaxDiagramFiles];
};

// The automatic range of values lo..hi: widened on both sides by
// ⌈(hi − lo) × 0.045⌉ + 1, so that even a constant gets two units.
struct ValueSpan {
    int32_t lo;
    int32_t hi;
};
ValueSpan RangeWithMargins(int32_t lo, int32_t hi);

// "(right, top, left, bottom) <- (x, y)" for a pointer outside the area.
std::wstring OutsideReadout(const IntRect& area, IntPoint pointer);

// The quick views F1 to F5 (ID_VIEW_POWER_RPM, ID_VIEW_TORQUE_RPM,
// ID_VIEW_RPM_TIME, ID_VIEW_RPM_SPEED, ID_VIEW_POWER_TORQUE).
// False for any other command.
bool QuickView(int command, int powerUnit, int32_t& x, int32_t& y);

// ---- page view ---------------------------------------------------------------
// The band while dragging in page view: from the anchor with the parent's
// aspect ratio (parentWidth × parentHeight), in the direction of the drag.
IntRect PageBand(IntPoint anchor, IntPoint pointer, int32_t parentWidth, int32_t parentHeight);
// Where the page-view window goes so that band D of the client area C fills
// the parent's client area P.
IntRect PagePlacementForBand(IntPoint clientSize, IntPoint parentSize, const IntRect& band);
// The page of physical size W × H (any unit) fitted and centred into area A.
IntRect FitPage(const IntRect& area, int32_t pageWidth, int32_t pageHeight);
