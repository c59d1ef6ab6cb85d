#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>

#include "NumberText.h"

namespace {

struct FormatCase {
    double value;
    const char* text;
};

const FormatCase kFormatCases[] = {
    {1.0, "1."},          {3.0, "3."},           {0.0, "0."},
    {0.1, "0.1"},         {1.25, "1.25"},        {7.05, "7.05"},
    {0.05, "5.e-002"},    {1.0 / 3.0, "0.333333"}, {1234567.0, "1.23457e+006"},
    {-1.0, "-1."},        {-1.25, "-1.25"},      {-0.05, "-5.e-002"},
    {999999.0, "999999."}, {999999.5, "1.e+006"}, {0.0999999, "9.99999e-002"},
    {0.09999999, "0.1"},  {123456.7, "123457."}, {1e-300, "1.e-300"},
    {2.5e10, "2.5e+010"}, {100.0, "100."},       {0.123456789, "0.123457"},
};

// Sets a German locale (decimal comma) for the lifetime of the object.
class GermanLocale {
public:
    GermanLocale() {
        const char* previous = std::setlocale(LC_ALL, nullptr);
        saved_ = previous ? previous : "C";
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German_Germany.1252", "German"})
            if (std::setlocale(LC_ALL, name)) { active_ = true; break; }
    }
    ~GermanLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
    bool active() const { return active_; }

private:
    std::string saved_;
    bool active_ = false;
};

void checkFormatting() {
    for (const auto& c : kFormatCases) {
        EXPECT_EQ(formatDoubleAscii(c.value), c.text) << "value " << c.value;
        EXPECT_EQ(formatDouble(c.value), std::wstring(c.text, c.text + std::strlen(c.text)));
    }
}

void checkParsing() {
    EXPECT_EQ(parseDouble(std::wstring(L"7.05")), 7.05);
    EXPECT_EQ(parseDouble(std::wstring(L"  -1.25xyz")), -1.25);
    EXPECT_EQ(parseDouble(std::wstring(L"5.e-002")), 0.05);
    EXPECT_EQ(parseDouble(std::wstring(L"+3.")), 3.0);
    EXPECT_EQ(parseDouble(std::wstring(L"abc")), 0.0);
    EXPECT_EQ(parseDouble(std::wstring(L"")), 0.0);
    EXPECT_EQ(parseDouble(std::wstring(L"1,5")), 1.0);  // a comma is no decimal separator here
    EXPECT_EQ(parseDouble(std::wstring(L"1e999")), std::numeric_limits<double>::infinity());
    EXPECT_EQ(parseLong(L"  -42abc"), -42);
    EXPECT_EQ(parseLong(L"+17"), 17);
    EXPECT_EQ(parseLong(L"x1"), 0);
    EXPECT_EQ(parseLong(L"99999999999"), 2147483647);
    EXPECT_EQ(parseLong(L"-99999999999"), -2147483647 - 1);
    EXPECT_EQ(formatLong(-2147483647 - 1), L"-2147483648");
}

}  // namespace

TEST(NumberText, FormatsDoublesInTheProgramsOneFormat) { checkFormatting(); }

TEST(NumberText, ParsesLikeTheCConversions) { checkParsing(); }

TEST(NumberText, EveryFormattedValueReadsBackToSixDigits) {
    for (double v : {1.0, 0.05, 1.0 / 3.0, 1234567.0, -7.05, 0.1, 42.4242, 1e-7, 6.02e23}) {
        const double back = parseDouble(formatDouble(v));
        EXPECT_NEAR(back, v, std::fabs(v) * 5e-6) << formatDoubleAscii(v);
    }
}

TEST(NumberText, RoundTripTextIsExact) {
    for (double v : {0.1, 1.0 / 3.0, 7.05, 1e-300, -123456.789, 1.25}) EXPECT_EQ(parseDouble(formatRoundTrip(v)), v);
    EXPECT_EQ(formatRoundTrip(std::nan("")), "null");
}

TEST(NumberText, GermanLocaleChangesNothing) {
    GermanLocale german;
    ASSERT_TRUE(german.active()) << "no German locale installed; ./test.sh generates de_DE.UTF-8";
    checkFormatting();
    checkParsing();
}
