#pragma once
// Angles and texts of the dials: where a value sits on a round or sectional
// scale, the value text made from an instrument's caption, and the tenths
// labels of the rectangular gauges. Portable: no windows.h.
#include <cstdint>
#include <string>

// π is taken as 3.1415 so that the dials match the printed scales of the
// controller's documentation; a quarter of it turns the round dial's zero
// to the lower left.
constexpr double kDialPi = 3.1415;
constexpr double kDialQuarterTurn = 0.785375;       // kDialPi / 4
constexpr double kDialDegree = 0.01745277777777778;  // kDialPi / 180

// Round dial: 270° from the lower left (minimum, 45°) over the top (180°) to
// the lower right (maximum, 315°), in radians; 0 points straight down and
// angles grow clockwise. An empty range (minimum equal to maximum) puts every
// value at the minimum's angle.
double RoundDialAngle(int32_t value, int32_t minimum, int32_t maximum);

// Dial section: minimum at startAngle, maximum at endAngle (degrees), the
// answer in radians. An empty range answers the start angle.
double SectionDialAngle(int32_t value, int32_t minimum, int32_t maximum, int32_t startAngle,
                        int32_t endAngle);

// The caption of an instrument used as the format of its value text: the
// first integer conversion (%d, %i, %u, %x, %X, %o with flags and a width)
// takes `value`, "%%" is a percent sign; any other or a second conversion is
// shown as written. A caption without a conversion comes back unchanged.
std::wstring FormatValueText(const std::wstring& format, int32_t value);

// Scale label of a rectangular gauge: value / 10 (truncated), cut to at most
// three characters ("1000" shows as "100").
std::wstring TenthsLabel(int32_t value);
