#pragma once
// What an axis consists of, in device units: the ticks chosen for the
// visible range, grid lines, tick marks, labels with their boxes, the axis
// line with its arrowhead and the title. The window side draws this picture
// as it is; laying it out here keeps it free of the window system.
#include <cstdint>
#include <string>
#include <vector>

#include "DiagramGeometry.h"

struct DiagramState;

// Colours as the window system's 0x00BBGGRR values.
constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }
constexpr uint32_t kBlack = rgb(0, 0, 0);
constexpr uint32_t kRed = rgb(255, 0, 0);

// Curve colours by the measurement's position: black, red, green, blue,
// magenta, cyan, yellow.
constexpr uint32_t kCurveColours[7] = {rgb(0, 0, 0),     rgb(255, 0, 0),   rgb(0, 255, 0),  rgb(0, 0, 255),
                                       rgb(255, 0, 255), rgb(0, 255, 255), rgb(255, 255, 0)};

// Label pitches in tenths of a millimetre.
constexpr int32_t kPitchX = 150;
constexpr int32_t kPitchY = 120;
constexpr int32_t kPitchLambda = 40;

// The ticks of a visible range: first, first + step, ... up to last.
struct TickScale {
    int32_t first = 0;
    int32_t last = -1;
    int32_t step = 1;
};

// Steps 1, 2, 5 ... 20000 over minimum..maximum with extent / pitch wanted
// intervals (at least one), rounded inward.
TickScale PlaceTicks(int32_t minimum, int32_t maximum, int32_t extent, int32_t pitch);
std::vector<int32_t> TickValues(const TickScale& scale);

struct AxisSegment {
    IntPoint from;
    IntPoint to;
};

struct AxisLabel {
    std::wstring text;
    IntRect box;
};

enum class LabelAlign { CentreTop, RightMiddle };
enum class TitleAlign { Left, Right };

struct AxisTitleText {
    std::wstring text;
    IntPoint anchor;         // top edge; left end or right end by 'align'
    TitleAlign align = TitleAlign::Left;
};

struct AxisPicture {
    std::vector<int32_t> tickValues;
    uint32_t gridColour = kBlack;
    std::vector<AxisSegment> grid;    // dotted, one device pixel
    std::vector<AxisSegment> marks;   // with the pen the device holds
    std::vector<AxisLabel> labels;
    LabelAlign labelAlign = LabelAlign::CentreTop;
    bool hasAxisLine = false;
    AxisSegment axisLine;
    IntPoint arrow[3];                // closed arrowhead: base, base, tip
    bool lambdaDecorations = false;   // the left axis of the lambda panel
    bool hasTitle = false;
    AxisTitleText title;
};

// The picture of axis 'kind' (0 X, 1 left, 2 right torque axis) of the
// diagram's X quantity against the frame: its plot, view and Y quantity, on
// the surface. The lambda panel is the frame of quantity 9: its X axis is
// grid lines only.
AxisPicture LayoutAxis(const DiagramState& d, const AxisFrame& frame, int kind, const Surface& surface);

// The lambda panel's mixture marks, 7 x 4 mm in its right margin, where no
// label, title or curve is: "FETT" (rich) level with the bottom of the scale
// (A/F 10.0), "MAGER" (lean) with its top (18.0).
struct MixtureMarks {
    IntRect rich;
    IntRect lean;
};
MixtureMarks LayoutMixtureMarks(const AxisFrame& panel, const Surface& surface);

// Title of an axis: "A/F" for the lambda panel, else "name [unit]" with
// " (power mode, correction)" after torque and power, the smoothing added
// inside the brackets when there is one ("(Motor, DIN 70020, Glättung
// mittel)") and " (!)" after them when a measurement's correction factor lies
// outside its valid band; and where the title goes.
AxisTitleText AxisTitle(const DiagramState& d, const AxisFrame& frame, int kind, const Surface& surface);
