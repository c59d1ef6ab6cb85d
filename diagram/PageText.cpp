#include "PageText.h"

#include <cmath>
#include <ctime>
#include <cwchar>
#include <initializer_list>

#include "AtmosphericCorrection.h"
#include "DiagramText.h"
#include "StringTable.h"

namespace {

constexpr int kPowerText = 40041;    // "P(max): %s %s (%s %s) bei %s %s"
constexpr int kTorqueText = 40042;   // "M(max): %s %s bei %s %s"
constexpr int kWeatherText = 40044;  // "Temp. %d°C; Druck %d mBar; rel. Feuchte %d %%"
constexpr int kUnknownDateText = 40080;  // "( Meßzeitpunkt unbekannt! )"
constexpr int kFactorText = 40162;   // "Korrekturfaktor"
constexpr int kFactorWarningText = 40163;  // "Korrekturfaktor außerhalb 0.93 … 1.07: ..."
constexpr size_t kDateLength = 256;

// A string-table format with its conversions (%s, %d) filled in order from
// `args`, already as texts; "%%" is a percent sign. Done by hand, so that no
// C library decides what %s means in a wide format.
std::wstring Fill(const std::wstring& format, std::initializer_list<std::wstring> args) {
    std::wstring text;
    auto next = args.begin();
    for (size_t k = 0; k < format.size(); ++k) {
        wchar_t c = format[k];
        if (c != L'%' || k + 1 == format.size()) {
            text += c;
            continue;
        }
        wchar_t conversion = format[++k];
        if (conversion == L'%') {
            text += L'%';
        } else if (next != args.end()) {
            text += *next++;
        }
    }
    return text;
}

std::wstring Value(const EvaluationCursor& cursor, int quantity, int decimals) {
    return FormatScaled(decimals, cursor.quantityValue(quantity, cursor.index()));
}

}  // namespace

std::wstring RecordingDateText(int32_t recordedAt, const std::wstring& format) {
    if (recordedAt < 0) return portableText(kUnknownDateText);
    std::time_t when = recordedAt;
    std::tm* local = std::localtime(&when);
    if (!local) return std::wstring();
    wchar_t text[kDateLength + 1] = {};
    // a text that does not fit is empty (C library) or cut (Windows' own)
    if (std::wcsftime(text, kDateLength + 1, format.c_str(), local) == 0) return std::wstring();
    text[kDateLength] = L'\0';
    return text;
}

std::wstring WeatherText(const Measurement& m) {
    return Fill(portableText(kWeatherText),
                {std::to_wstring(m.temperature), std::to_wstring(m.pressure), std::to_wstring(m.humidity)});
}

std::wstring CorrectionFactorText(double factor) {
    std::wstring number = L"---";
    // a factor of a million or more is as meaningless as an infinite one
    if (std::isfinite(factor) && std::fabs(factor) < 1e6)
        number = FormatScaled(3, int32_t(std::llround(factor * 1000.0)));
    return portableText(kFactorText) + L" " + number;
}

PageBlock MakePageBlock(EvaluationCursor& cursor, Measurement& m, const std::wstring& timeFormat) {
    PageBlock block;
    block.fileName = m.fileName;
    block.comment = m.comment;
    block.dateWeather = RecordingDateText(m.recordedAt, timeFormat) + L"; " + WeatherText(m);
    const uint16_t correction = cursor.options().correction;
    if (correction == kDin70020 || correction == kIso1585) {
        block.dateWeather += L"; " + CorrectionFactorText(m.correctionFactor);
        if (!correctionValid(correction, m.correctionFactor)) block.correctionWarning = portableText(kFactorWarningText);
    }
    cursor.rewind(m);
    cursor.openWindow(m.maxTorqueIndex);
    block.maxTorque = Fill(portableText(kTorqueText), {Value(cursor, kQuantityTorque, 1), QuantityUnit(kQuantityTorque),
                                                       Value(cursor, kQuantityEngineSpeed, -1),
                                                       QuantityUnit(kQuantityEngineSpeed)});
    cursor.openWindow(m.maxPowerIndex);
    block.maxPower = Fill(portableText(kPowerText),
                          {Value(cursor, kQuantityPowerKw, 1), QuantityUnit(kQuantityPowerKw),
                           Value(cursor, kQuantityPowerPs, 1), QuantityUnit(kQuantityPowerPs),
                           Value(cursor, kQuantityEngineSpeed, -1), QuantityUnit(kQuantityEngineSpeed)});
    return block;
}
