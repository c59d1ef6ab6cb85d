// The atmospheric correction factor and its vapour-pressure table.
#include <gtest/gtest.h>

#include <cmath>

#include "AtmosphericCorrection.h"

TEST(AtmosphericCorrection, StandardAirGivesExactlyOne) {
    EXPECT_EQ(correctionFactor(kDin70020, 20, 1013, 0), 1.0);
    EXPECT_EQ(correctionFactor(kDin70020, 20, 1013, 80), 1.0) << "DIN ignores humidity";
    EXPECT_EQ(correctionFactor(kIso1585, 25, 990, 0), 1.0);
    for (uint16_t t : {0, 25, 60})
        for (uint16_t p : {0, 990, 1013})
            EXPECT_EQ(correctionFactor(kUncorrected, t, p, 50), 1.0) << t << " °C, " << p << " mbar";
    EXPECT_EQ(correctionFactor(3, 25, 500, 50), 1.0) << "an unknown method corrects nothing";
}

TEST(AtmosphericCorrection, FormulasAtGivenWeather) {
    const struct { uint16_t method, t, p, h; double factor; } cases[] = {
        // 990 − 32 × 0.5 = 974 mbar of dry air
        {kIso1585, 25, 990, 50, std::pow(990.0 / 974.0, 1.2)},
        {kIso1585, 30, 1000, 40, std::pow(990.0 / (1000 - 42 * 0.4), 1.2) * std::pow(303.0 / 298.0, 0.6)},
        {kDin70020, 30, 980, 50, (1013.0 / 980.0) * std::sqrt(303.0 / 293.0)},
        {kDin70020, 0, 1013, 0, std::sqrt(273.0 / 293.0)},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(correctionFactor(c.method, c.t, c.p, c.h), c.factor)
            << "method " << c.method << ", " << c.t << " °C, " << c.p << " mbar, " << c.h << " %";
    EXPECT_NEAR(correctionFactor(kIso1585, 25, 990, 50), 1.0197, 1e-4);
}

TEST(AtmosphericCorrection, VapourPressureTable) {
    const struct { int16_t t; int mbar; } entries[] = {
        {0, 6}, {1, 7}, {9, 11}, {10, 12}, {18, 21}, {20, 23}, {25, 32}, {31, 45},
        {37, 63}, {40, 74}, {43, 86}, {44, 91}, {45, 91}, {60, 91}, {32767, 91},
        {-1, 6}, {-5, 6}, {-32768, 6},  // frost takes the 0 °C entry
    };
    for (const auto& e : entries) EXPECT_EQ(saturationVapourPressure(e.t), e.mbar) << e.t << " °C";
    for (uint16_t t = 1; t <= 44; ++t)
        EXPECT_GE(saturationVapourPressure(t), saturationVapourPressure(t - 1)) << t << " °C";
    // 45 °C and more use the 44 °C entry in the formula too
    EXPECT_EQ(correctionFactor(kIso1585, 45, 1000, 100),
              std::pow(990.0 / 909.0, 1.2) * std::pow(318.0 / 298.0, 0.6));
}

TEST(AtmosphericCorrection, FrostIsBelowZeroNotNearSixtyFiveThousand) {
    // the 16 bits 65531 of a file or the INI file are -5 °C
    const int16_t frost = static_cast<int16_t>(uint16_t{65531});
    const struct { uint16_t method; int16_t t; uint16_t p, h; double factor; } cases[] = {
        {kDin70020, frost, 1013, 50, std::sqrt(268.0 / 293.0)},
        {kIso1585, frost, 990, 50, std::pow(990.0 / (990 - 6 * 0.5), 1.2) * std::pow(268.0 / 298.0, 0.6)},
        {kIso1585, -20, 1000, 100, std::pow(990.0 / 994.0, 1.2) * std::pow(253.0 / 298.0, 0.6)},
    };
    for (const auto& c : cases) {
        const double f = correctionFactor(c.method, c.t, c.p, c.h);
        EXPECT_DOUBLE_EQ(f, c.factor) << "method " << c.method << ", " << c.t << " °C";
        EXPECT_LT(f, 1.0) << "cold dense air gives less than standard power, " << c.t << " °C";
    }
}

TEST(AtmosphericCorrection, DegenerateWeatherIsNotFinite) {
    EXPECT_TRUE(std::isinf(correctionFactor(kDin70020, 20, 0, 50)));
    EXPECT_TRUE(std::isinf(correctionFactor(kIso1585, 44, 91, 100))) << "dry pressure exactly 0";
    EXPECT_TRUE(std::isnan(correctionFactor(kIso1585, 44, 50, 100))) << "dry pressure below 0";
}

TEST(AtmosphericCorrection, BandIncludesBothEdgesAndNothingBeyond) {
    const struct { double factor; bool inBand; } cases[] = {
        {0.93, true},
        {1.07, true},
        {1.0, true},
        {std::nextafter(0.93, 0.0), false},
        {std::nextafter(1.07, 2.0), false},
        {0.5, false},
        {1.5, false},
        {INFINITY, false},
        {-INFINITY, false},
        {NAN, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(correctionFactorInBand(c.factor), c.inBand) << c.factor;
        EXPECT_EQ(correctionValid(kDin70020, c.factor), c.inBand) << "DIN, " << c.factor;
        EXPECT_EQ(correctionValid(kIso1585, c.factor), c.inBand) << "ISO, " << c.factor;
        EXPECT_TRUE(correctionValid(kUncorrected, c.factor)) << "uncorrected, " << c.factor;
    }
    EXPECT_TRUE(correctionValid(3, 2.0)) << "an unknown method corrects nothing";
}

TEST(AtmosphericCorrection, PressuresJustInsideAndOutsideTheBand) {
    // DIN 70020 at 20 °C is 1013 / p: 1.07 lies between 946 and 947 mbar,
    // 0.93 between 1089 and 1090; ISO 1585 at 25 °C in dry air is
    // (990 / p)^1.2: 1.07 between 935 and 936, 0.93 between 1051 and 1052
    const struct { uint16_t method, t, p; bool valid; } cases[] = {
        {kDin70020, 20, 946, false}, {kDin70020, 20, 947, true},
        {kDin70020, 20, 1089, true}, {kDin70020, 20, 1090, false},
        {kIso1585, 25, 935, false},  {kIso1585, 25, 936, true},
        {kIso1585, 25, 1051, true},  {kIso1585, 25, 1052, false},
        {kDin70020, 20, 0, false},   // degenerate weather is never valid
    };
    for (const auto& c : cases) {
        const double f = correctionFactor(c.method, c.t, c.p, 0);
        EXPECT_EQ(correctionValid(c.method, f), c.valid)
            << "method " << c.method << ", " << c.t << " °C, " << c.p << " mbar: factor " << f;
    }
}
