#pragma once
// The text block of one measurement on the printed page, as plain texts:
// file name, power and torque maxima, date and weather, comment. The page
// layout stacks the blocks from the bottom of the page up.
#include <cstdint>
#include <string>

#include "EvaluationCursor.h"
#include "Measurement.h"

struct PageBlock {
    std::wstring fileName;     // in the page font
    std::wstring maxPower;     // "P(max): 171.8 kW (233.7 PS) bei 6120 U/min"
    std::wstring maxTorque;    // "M(max): 301.4 Nm bei 4510 U/min"
    std::wstring dateWeather;  // "<date>; Temp. 20°C; Druck 1013 mBar; rel. Feuchte 40 %",
                               // with a correction chosen "...; Korrekturfaktor 1.023"
    std::wstring correctionWarning;  // a factor outside the valid band: the line under it; else empty
    std::wstring comment;
};

// "Korrekturfaktor 1.023": three decimals and a decimal point, as the page's
// other numbers; "---" for a factor that is not a number.
std::wstring CorrectionFactorText(double factor);

// The recording time in local time with `format` (strftime conversions, at
// most 256 characters), or "( Meßzeitpunkt unbekannt! )" when recordedAt is
// negative.
std::wstring RecordingDateText(int32_t recordedAt, const std::wstring& format);

// "Temp. %d°C; Druck %d mBar; rel. Feuchte %d %%" of the measurement's weather.
std::wstring WeatherText(const Measurement& m);

// The block of the evaluated measurement `m`: the cursor is put on m's torque
// and power maxima, so the values follow the diagram's power mode and
// correction. Engine speeds are truncated to tens. With a correction chosen
// the date line states the factor, and a factor outside 0.93 ... 1.07 adds
// the warning line.
PageBlock MakePageBlock(EvaluationCursor& cursor, Measurement& m, const std::wstring& timeFormat);
