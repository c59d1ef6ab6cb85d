// Dial angles, value texts and tenths labels (portable, runs natively).
#include <gtest/gtest.h>

#include <cmath>

#include "DialGeometry.h"

namespace {

// Degrees in the program's own measure (π taken as 3.1415).
double ProgramDegrees(double radians) {
    return radians / kDialDegree;
}

}  // namespace

TEST(DialGeometry, RoundDialPutsTheScaleFrom45Over180To315Degrees) {
    struct Case {
        int32_t value, minimum, maximum;
        double degrees;
    };
    const Case cases[] = {
        {0, 0, 250, 45},     {50, 0, 250, 99},    {100, 0, 250, 153},  {150, 0, 250, 207},
        {200, 0, 250, 261},  {250, 0, 250, 315},  {4000, 0, 8000, 180}, {-10, -10, 10, 45},
        {10, -10, 10, 315},  {0, -10, 10, 180},   {7, 7, 7, 45},        {-5, 7, 7, 45},  // empty range: the minimum's angle
        {2147483647, -2147483647 - 1, 2147483647, 315},
    };
    for (const Case& c : cases) {
        double angle = RoundDialAngle(c.value, c.minimum, c.maximum);
        EXPECT_TRUE(std::isfinite(angle)) << c.value << " in " << c.minimum << ".." << c.maximum;
        EXPECT_NEAR(ProgramDegrees(angle), c.degrees, 1e-9) << c.value << " in " << c.minimum << ".." << c.maximum;
    }
    // the program's π, not the exact one: 50 of 0..250 sits at 98.997 true degrees
    EXPECT_NEAR(RoundDialAngle(50, 0, 250) * 180.0 / 3.14159265358979, 98.99716, 1e-4);
    EXPECT_DOUBLE_EQ(RoundDialAngle(0, 0, 250), 0.785375);
}

TEST(DialGeometry, SectionDialRunsFromTheStartToTheEndAngle) {
    struct Case {
        int32_t value, minimum, maximum, start, end;
        double degrees;
    };
    const Case cases[] = {
        {100, 100, 180, 130, 230, 130},  // A/F bar: upper half
        {140, 100, 180, 130, 230, 180},
        {180, 100, 180, 130, 230, 230},
        {400, 400, 1200, 410, 310, 410},  // gas bar: lower half, through straight down
        {800, 400, 1200, 410, 310, 360},
        {1200, 400, 1200, 410, 310, 310},
        {0, 0, 100, 45, 315, 45},
        {100, 0, 100, 45, 315, 315},
        {150, 150, 150, 130, 230, 130},  // empty range: the start angle
    };
    for (const Case& c : cases) {
        double angle = SectionDialAngle(c.value, c.minimum, c.maximum, c.start, c.end);
        EXPECT_TRUE(std::isfinite(angle)) << c.value << " in " << c.minimum << ".." << c.maximum;
        EXPECT_NEAR(ProgramDegrees(angle), c.degrees, 1e-9)
            << c.value << " in " << c.minimum << ".." << c.maximum << " from " << c.start << " to " << c.end;
    }
}

TEST(DialGeometry, ValueTextFillsTheFirstIntegerConversionOfTheCaption) {
    struct Case {
        const wchar_t* format;
        int32_t value;
        const wchar_t* text;
    };
    const Case cases[] = {
        {L"%d km/h", 123, L"123 km/h"},
        {L"%d U/min", 6500, L"6500 U/min"},
        {L"%d U/min", -40, L"-40 U/min"},
        {L"A/F", 140, L"A/F"},            // no conversion: the caption itself
        {L"Gas", 400, L"Gas"},
        {L"", 5, L""},
        {L"%i", 7, L"7"},
        {L"%5d|", 42, L"   42|"},
        {L"%-4d|", 42, L"42  |"},
        {L"%03d", 7, L"007"},
        {L"%+d", 7, L"+7"},
        {L"%ld", 9, L"9"},
        {L"%x", 255, L"ff"},
        {L"%u", -1, L"4294967295"},
        {L"100%% %d", 3, L"100% 3"},
        {L"%d %d", 1, L"1 %d"},           // a second conversion has no argument: shown as written
        {L"%s km/h", 1, L"%s km/h"},      // not an integer conversion
        {L"%n%d", 1, L"%n1"},
        {L"50%", 1, L"50%"},
        {L"%999999999d", 1, L"%999999999d"},  // widths stay short
        {L"%d", -2147483647 - 1, L"-2147483648"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatValueText(c.format, c.value), c.text) << "format \"" << c.format << "\" with " << c.value;
}

TEST(DialGeometry, TenthsLabelsAreCutToThreeCharacters) {
    struct Case {
        int32_t value;
        const wchar_t* label;
    };
    const Case cases[] = {
        {100, L"10"}, {180, L"18"}, {400, L"40"}, {1200, L"120"}, {9999, L"999"},
        {10000, L"100"},  // 1000 cut to its first three characters
        {123456, L"123"}, {5, L"0"}, {-5, L"0"}, {-150, L"-15"}, {-1500, L"-15"},
    };
    for (const Case& c : cases) EXPECT_EQ(TenthsLabel(c.value), c.label) << "value " << c.value;
}
