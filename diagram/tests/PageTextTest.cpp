// The texts of a measurement's block on the printed page: date or the
// unknown-date text, weather, and the maxima with engine speeds truncated to
// tens, worked out here from the evaluation cursor's raw values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <cwchar>
#include <string>

#include "PageText.h"
#include "Settings.h"
#include "StringTable.h"
#include "SyntheticRuns.h"
#include "Utf8.h"

namespace {

std::string narrow(const std::wstring& w) { return toUtf8(w); }

std::wstring Tenths(int32_t value) {
    std::wstring sign = value < 0 ? L"-" : L"";
    value = std::abs(value);
    return sign + std::to_wstring(value / 10) + L"." + std::to_wstring(value % 10);
}

}  // namespace

TEST(PageText, UnknownDateForEveryNegativeTime) {
    for (int32_t when : {-1, -3600, INT32_MIN}) {
        EXPECT_EQ(narrow(RecordingDateText(when, L"erstellt am %d.%m.%Y")), "( Meßzeitpunkt unbekannt! )") << when;
    }
}

TEST(PageText, DateInLocalTimeWithTheConfiguredFormat) {
    struct Case {
        int32_t when;
        const wchar_t* format;
    };
    const Case cases[] = {
        {0, L"erstellt am %d.%m.%Y um %H:%M Uhr"},
        {1686839400, L"erstellt am %d.%m.%Y um %H:%M Uhr"},
        {1686839400, L"%Y-%m-%d"},
        {1686839400, L"Prüfstand 2, %d.%m.%y"},
        {INT32_MAX, L"%d.%m.%Y %H:%M:%S"},
    };
    for (const Case& c : cases) {
        std::time_t when = c.when;
        wchar_t expected[300] = {};
        std::wcsftime(expected, 300, c.format, std::localtime(&when));
        EXPECT_EQ(narrow(RecordingDateText(c.when, c.format)), narrow(expected)) << c.when << " " << narrow(c.format);
    }
    // no conversion: the text as it stands
    EXPECT_EQ(narrow(RecordingDateText(1686839400, L"gemessen")), "gemessen");
    // a date that would be longer than 256 characters does not overrun
    std::wstring huge(300, L'x');
    EXPECT_LE(RecordingDateText(1686839400, huge).size(), 256u);
}

TEST(PageText, WeatherReadsTemperatureSignedPressureAndHumidityUnsigned) {
    struct Case {
        uint16_t temperatureBits, pressure, humidity;
        const char* text;
    };
    const Case cases[] = {
        {21, 1002, 45, "Temp. 21°C; Druck 1002 mBar; rel. Feuchte 45 %"},
        {0, 0, 0, "Temp. 0°C; Druck 0 mBar; rel. Feuchte 0 %"},
        {65531, 1100, 100, "Temp. -5°C; Druck 1100 mBar; rel. Feuchte 100 %"},
        {65535, 65535, 65535, "Temp. -1°C; Druck 65535 mBar; rel. Feuchte 65535 %"},
    };
    for (const Case& c : cases) {
        Measurement m;
        m.temperature = static_cast<int16_t>(c.temperatureBits);
        m.pressure = c.pressure;
        m.humidity = c.humidity;
        EXPECT_EQ(narrow(WeatherText(m)), c.text);
    }
}

TEST(PageText, BlockOfMaximaWithEngineSpeedsTruncatedToTens) {
    Settings settings;
    EvaluationOptions options;
    bool unround = false;
    const double peaks[][3] = {{100, 4000, 6500}, {125, 3500, 6200}, {85, 5000, 6800}, {140, 3000, 5600}};
    for (const auto& p : peaks) {
        RunShape shape;
        shape.peakTorque = p[0];
        shape.peakRpm = p[1];
        shape.endRpm = p[2];
        shape.comment = L"Kommentar mit Ümlaut";
        Measurement m = syntheticRun(shape);
        m.fileName = L"C:\\Messungen\\lauf.kxm";
        m.recordedAt = -1;
        EvaluationCursor cursor(options, settings);
        cursor.evaluate(m);
        const PageBlock block = MakePageBlock(cursor, m, L"%d.%m.%Y");

        EvaluationCursor check(options, settings);
        check.rewind(m);
        check.openWindow(m.maxPowerIndex);
        const int32_t powerRpm = check.quantityValue(kQuantityEngineSpeed, check.index());
        const std::wstring power = L"P(max): " + Tenths(check.quantityValue(kQuantityPowerKw, check.index())) +
                                   L" kW (" + Tenths(check.quantityValue(kQuantityPowerPs, check.index())) +
                                   L" PS) bei " + std::to_wstring(powerRpm / 10 * 10) + L" U/min";
        check.openWindow(m.maxTorqueIndex);
        const int32_t torqueRpm = check.quantityValue(kQuantityEngineSpeed, check.index());
        const std::wstring torque = L"M(max): " + Tenths(check.quantityValue(kQuantityTorque, check.index())) +
                                    L" Nm bei " + std::to_wstring(torqueRpm / 10 * 10) + L" U/min";
        SCOPED_TRACE("peak " + std::to_string(p[0]) + " Nm at " + std::to_string(p[1]) + ", rpm " +
                     std::to_string(powerRpm) + "/" + std::to_string(torqueRpm));
        unround |= powerRpm % 10 != 0 || torqueRpm % 10 != 0;
        EXPECT_EQ(narrow(block.maxPower), narrow(power));
        EXPECT_EQ(narrow(block.maxTorque), narrow(torque));
        EXPECT_EQ(narrow(block.fileName), "C:\\Messungen\\lauf.kxm");
        EXPECT_EQ(narrow(block.comment), "Kommentar mit Ümlaut");
        EXPECT_EQ(narrow(block.dateWeather), "( Meßzeitpunkt unbekannt! ); Temp. 21°C; Druck 1002 mBar; rel. Feuchte 45 %");
    }
    EXPECT_TRUE(unround) << "no engine speed here needed truncating";
}

TEST(PageText, CorrectionFactorIsStatedAndWarnedAboutOutsideTheBand) {
    Settings settings;
    completeLoadedSettings(settings, portableText);
    const std::string weather = "( Meßzeitpunkt unbekannt! ); Temp. 20°C; Druck ";
    const std::string warning = "Korrekturfaktor außerhalb 0.93 … 1.07: Ergebnis nur bedingt vergleichbar";
    struct Case {
        uint16_t correction, temperature, pressure;
        const char* line;
        bool warned;
    };
    const Case cases[] = {
        {0, 20, 900, "900 mBar; rel. Feuchte 0 %", false},  // uncorrected: no factor, no warning
        {1, 20, 1013, "1013 mBar; rel. Feuchte 0 %; Korrekturfaktor 1.000", false},
        {1, 20, 990, "990 mBar; rel. Feuchte 0 %; Korrekturfaktor 1.023", false},
        {1, 20, 947, "947 mBar; rel. Feuchte 0 %; Korrekturfaktor 1.070", false},
        {1, 20, 946, "946 mBar; rel. Feuchte 0 %; Korrekturfaktor 1.071", true},
        {1, 20, 1089, "1089 mBar; rel. Feuchte 0 %; Korrekturfaktor 0.930", false},
        {1, 20, 1090, "1090 mBar; rel. Feuchte 0 %; Korrekturfaktor 0.929", true},
        {2, 20, 936, "936 mBar; rel. Feuchte 0 %; Korrekturfaktor 1.059", false},
        {1, 20, 0, "0 mBar; rel. Feuchte 0 %; Korrekturfaktor ---", true},
    };
    for (const Case& c : cases) {
        EvaluationOptions options = evaluationOptionsFromSettings(settings);
        options.correction = c.correction;
        Measurement m = syntheticRun(RunShape());
        m.recordedAt = -1;
        m.temperature = c.temperature;
        m.pressure = c.pressure;
        m.humidity = 0;
        EvaluationCursor cursor(options, settings);
        cursor.evaluate(m);
        const PageBlock block = MakePageBlock(cursor, m, L"%d.%m.%Y");
        EXPECT_EQ(narrow(block.dateWeather), weather + c.line) << c.correction << ", " << c.pressure << " mbar";
        EXPECT_EQ(narrow(block.correctionWarning), c.warned ? warning : "") << c.correction << ", " << c.pressure;
    }
    // the factor is rounded, not cut
    EXPECT_EQ(narrow(CorrectionFactorText(1.02351)), "Korrekturfaktor 1.024");
    EXPECT_EQ(narrow(CorrectionFactorText(0.99949)), "Korrekturfaktor 0.999");
    EXPECT_EQ(narrow(CorrectionFactorText(NAN)), "Korrekturfaktor ---");
}
