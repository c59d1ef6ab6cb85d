// The live instruments on real windows under Wine: round and rectangular
// gauges, lamps and the big text, placed over the placeholders of a dialog
// like the measurement dialog. Scales, needles and lamps are checked on the
// pixels they draw, the repaint policy by counting paints. The dial pictures
// may be missing (the instruments then draw on the dialog colour); the
// checks hold either way.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cmath>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "BigText.h"
#include "DialGeometry.h"
#include "Dlg.h"
#include "Gauge.h"
#include "GdiPlus.h"
#include "Indicator.h"
#include "MemDC.h"
#include "RectGauge.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

constexpr int kStyle0 = 101, kStyle3 = 103, kStyle4 = 104;

// An instrument that counts the frames it paints.
template <class Instrument>
class Counting : public Instrument {
public:
    int Paint(CDC* dc) override {
        if (dc) ++paints;
        return Instrument::Paint(dc);
    }
    int paints = 0;
};

constexpr COLORREF kMark = RGB(255, 0, 255);

// A magenta corner on a window's pixels; it stays until the window paints.
void PutMark(HWND window) {
    HDC dc = GetDC(window);
    RECT corner{0, 0, 3, 3};
    HBRUSH brush = CreateSolidBrush(kMark);
    FillRect(dc, &corner, brush);
    DeleteObject(brush);
    ReleaseDC(window, dc);
}

bool HasMark(HWND window) {
    HDC dc = GetDC(window);
    bool marked = GetPixel(dc, 1, 1) == kMark;
    ReleaseDC(window, dc);
    return marked;
}

// The big text counting the paint messages of its static control.
class CountingBigText : public CBigText {
public:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PAINT) ++paints;
        return CBigText::WndProc(message, wParam, lParam);
    }
    int paints = 0;
};

struct TestDialog {
    explicit TestDialog(const wchar_t* name = L"LIVE") {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        CDlg* dialog = CreateModeless(kModelessDialog, new CDlg, name, nullptr);
        window = dialog ? dialog->hwnd : nullptr;
    }
    ~TestDialog() {
        if (IsWindow(window)) DestroyWindow(window);
    }
    template <class Instrument>
    Instrument* Place(int id, Instrument* instrument, int32_t minimum, int32_t maximum) {
        return static_cast<Instrument*>(ReplacePlaceholder(GetDlgItem(window, id), instrument, minimum, maximum));
    }
    HWND window = nullptr;
};

RECT ClientOf(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client;
}

COLORREF ScreenPixel(HWND window, POINT at) {
    HDC dc = GetDC(window);
    COLORREF pixel = GetPixel(dc, at.x, at.y);
    ReleaseDC(window, dc);
    return pixel;
}

COLORREF BackgroundPixel(CInstr& instrument, POINT at) {
    CMemDC memory(nullptr, nullptr, instrument.background.get());
    return GetPixel(memory.hdc, at.x, at.y);
}

// The point `share` of the way from `from` to `to`.
POINT Between(POINT from, POINT to, double share) {
    return {static_cast<LONG>(from.x + (to.x - from.x) * share), static_cast<LONG>(from.y + (to.y - from.y) * share)};
}

// Red body or yellow core of the round gauge's needle, also under the glass.
bool IsNeedleColour(COLORREF c) {
    return GetRValue(c) >= 150 && GetBValue(c) <= 110 && GetRValue(c) - GetBValue(c) >= 100;
}

std::string Hex(COLORREF c) {
    char text[16];
    snprintf(text, sizeof text, "%06lX", static_cast<unsigned long>(c));
    return text;
}

std::vector<std::wstring> TextsOf(const std::vector<ScaleMark>& marks) {
    std::vector<std::wstring> texts;
    for (const ScaleMark& mark : marks) texts.push_back(mark.text);
    return texts;
}

POINT CentreOf(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

int CountPixels(HWND window, const RECT& area, COLORREF colour) {
    HDC dc = GetDC(window);
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) count += GetPixel(dc, x, y) == colour;
    ReleaseDC(window, dc);
    return count;
}

bool Apart(RECT a, RECT b, int clearance) {
    InflateRect(&a, clearance, clearance);
    RECT both{};
    return !IntersectRect(&both, &a, &b);
}

std::string Text(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

std::string Ascii(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// The pixels of an icon at 32 x 32 with their alpha, as DrawIconEx lays them down.
std::vector<RGBQUAD> IconPixels(const wchar_t* name) {
    std::vector<RGBQUAD> pixels(32 * 32);
    HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_ICON, 32, 32, 0));
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return {};
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), 32, -32, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC dc = GetDC(nullptr);
    const int rows = GetDIBits(dc, info.hbmColor, 0, 32, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
    return rows == 32 ? pixels : std::vector<RGBQUAD>{};
}

// How many of the icon's opaque pixels the instrument's background shows at `place`.
int OpaquePixelsMatching(CInstr& instrument, const RECT& place, const std::vector<RGBQUAD>& icon, int* opaque) {
    CMemDC memory(nullptr, nullptr, instrument.background.get());
    int matching = 0;
    *opaque = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const RGBQUAD& p = icon[y * 32 + x];
            if (p.rgbReserved != 255) continue;
            ++*opaque;
            matching += GetPixel(memory.hdc, place.left + x, place.top + y) == RGB(p.rgbRed, p.rgbGreen, p.rgbBlue);
        }
    return matching;
}

}  // namespace

TEST(RoundGauge, ScaleOf0To250HasSixNumbersFrom45To315Degrees) {
    TestDialog dialog;
    CGauge* speed = dialog.Place(IDC_SPEED_GAUGE, new CGauge, 0, 250);
    ASSERT_NE(speed, nullptr);
    EXPECT_EQ(speed->step, 50);
    std::vector<ScaleMark> marks = speed->ScaleMarks();
    const std::vector<std::wstring> texts{L"0", L"50", L"100", L"150", L"200", L"250"};
    ASSERT_EQ(TextsOf(marks), texts);
    const double degrees[] = {45, 99, 153, 207, 261, 315};
    const RECT client = ClientOf(speed->hwnd);
    const POINT centre = CentreOf(client);
    const COLORREF dot = RGB(255, 255, 127);
    for (size_t i = 0; i < marks.size(); ++i) {
        const ScaleMark& mark = marks[i];
        EXPECT_NEAR(speed->AngleOf(mark.value) / kDialDegree, degrees[i], 1e-9) << "mark " << mark.value;
        EXPECT_EQ(BackgroundPixel(*speed, mark.dot), dot) << "dot of " << mark.value;
        // the label lies inside the dots, in the direction of its angle
        const POINT label = CentreOf(mark.label);
        const double a = -std::sin(speed->AngleOf(mark.value)), b = std::cos(speed->AngleOf(mark.value));
        EXPECT_GT((label.x - centre.x) * a + (label.y - centre.y) * b, 50) << "label of " << mark.value;
        EXPECT_LT(std::hypot(label.x - centre.x, label.y - centre.y),
                  std::hypot(mark.dot.x - centre.x, mark.dot.y - centre.y))
            << "label of " << mark.value;
    }
    EXPECT_LT(marks[0].dot.x, centre.x) << "0 at the lower left";
    EXPECT_GT(marks[0].dot.y, centre.y);
    EXPECT_GT(marks[5].dot.x, centre.x) << "250 at the lower right";
    EXPECT_GT(marks[5].dot.y, centre.y);
    EXPECT_LT(marks[2].dot.y, centre.y) << "100 and 150 at the top";
    // no dot between two marks
    RECT inner = client;
    InflateRect(&inner, -10, -10);
    const double between = RoundDialAngle(25, 0, 250);
    POINT gap{static_cast<LONG>((inner.right - inner.left) * -std::sin(between) / 2.2 + centre.x),
              static_cast<LONG>((inner.bottom - inner.top) * std::cos(between) / 2.2 + centre.y)};
    EXPECT_NE(BackgroundPixel(*speed, gap), dot);

    // an engine-speed range: numbers every 1000
    speed->SetRange(0, 8000);
    EXPECT_EQ(TextsOf(speed->ScaleMarks()).size(), 9u);
    EXPECT_EQ(speed->ScaleMarks().back().text, L"8000");
}

TEST(RoundGauge, NeedlePointsAtTheValueAndStopsAtTheEndsOfTheRange) {
    TestDialog dialog;
    CGauge* speed = dialog.Place(IDC_SPEED_GAUGE, new CGauge, 0, 250);
    ASSERT_NE(speed, nullptr);
    const RECT client = ClientOf(speed->hwnd);
    struct Case {
        int32_t set, shown, opposite;  // `opposite`: a value whose needle points elsewhere
    };
    const Case cases[] = {{125, 125, 0}, {400, 250, 0}, {-30, 0, 250}, {50, 50, 200}, {250, 250, 125}};
    for (const Case& c : cases) {
        speed->SetValue(c.set);
        EXPECT_EQ(speed->value, c.shown) << "set " << c.set;
        POINT tail{}, tip{};
        speed->NeedleEnds(client, tail, tip);
        const POINT centre{(client.left + client.right) / 2, (client.bottom - client.top) / 2};
        // the tail reaches a third of the length behind the centre
        EXPECT_NEAR(centre.x - tail.x, (tip.x - centre.x) / 3, 1) << "set " << c.set;
        EXPECT_NEAR(centre.y - tail.y, (tip.y - centre.y) / 3, 1) << "set " << c.set;
        const POINT onNeedle = Between(centre, tip, 0.6);
        const COLORREF shown = ScreenPixel(speed->hwnd, onNeedle);
        EXPECT_TRUE(IsNeedleColour(shown)) << "set " << c.set << ": " << Hex(shown);

        speed->SetValue(c.opposite);
        const COLORREF without = ScreenPixel(speed->hwnd, onNeedle);
        EXPECT_FALSE(IsNeedleColour(without)) << "set " << c.set << " then " << c.opposite << ": " << Hex(without);
    }
    // minimum to the lower left of the centre, maximum to the lower right
    POINT tail{}, tip{};
    speed->SetValue(0);
    speed->NeedleEnds(client, tail, tip);
    EXPECT_LT(tip.x, tail.x);
    EXPECT_GT(tip.y, tail.y);
    speed->SetValue(250);
    speed->NeedleEnds(client, tail, tip);
    EXPECT_GT(tip.x, tail.x);
    EXPECT_GT(tip.y, tail.y);
}

TEST(RoundGauge, RepaintsOnlyWhenTheShownValueChanges) {
    TestDialog dialog;
    auto* rpm = dialog.Place(IDC_RPM_GAUGE, new Counting<CGauge>, 0, 8000);
    ASSERT_NE(rpm, nullptr);
    UpdateWindow(rpm->hwnd);
    struct Case {
        int32_t set;
        int repaints;
    };
    const Case cases[] = {{3000, 1}, {3000, 0}, {9000, 1}, {8000, 0}, {8500, 0}, {-1, 1}, {0, 0}};
    for (const Case& c : cases) {
        const int before = rpm->paints;
        rpm->SetValue(c.set);
        EXPECT_EQ(rpm->paints - before, c.repaints) << "set " << c.set;
    }
    // a steady value fed every tick costs no frame at all
    const int before = rpm->paints;
    for (int tick = 0; tick < 50; ++tick) rpm->SetValue(0);
    PumpMessages();
    EXPECT_EQ(rpm->paints, before);
}

TEST(RoundGauge, TheNeedlesRendererIsStartedOnceForAllPaints) {
    TestDialog dialog;
    CGauge* speed = dialog.Place(IDC_SPEED_GAUGE, new CGauge, 0, 250);
    CGauge* rpm = dialog.Place(IDC_RPM_GAUGE, new CGauge, 0, 8000);
    ASSERT_NE(speed, nullptr);
    ASSERT_NE(rpm, nullptr);
    for (int32_t v : {40, 41, 42}) {
        speed->SetValue(v);
        rpm->SetValue(v * 100);
    }
    EXPECT_EQ(GdiPlusStartCount(), 1) << "every needle paint draws with the one running GDI+";
    EXPECT_TRUE(GdiPlusReady());
    EXPECT_EQ(GdiPlusStartCount(), 1);
    const RECT client = ClientOf(speed->hwnd);
    POINT tail{}, tip{};
    speed->NeedleEnds(client, tail, tip);
    const COLORREF onNeedle = ScreenPixel(speed->hwnd, Between({(client.left + client.right) / 2, (client.bottom - client.top) / 2}, tip, 0.6));
    EXPECT_TRUE(IsNeedleColour(onNeedle)) << Hex(onNeedle);
}

TEST(RoundGauge, ValueTextIsTheCaptionWithTheValue) {
    TestDialog dialog;
    CGauge* speed = dialog.Place(IDC_SPEED_GAUGE, new CGauge, 0, 250);
    ASSERT_NE(speed, nullptr);
    speed->SetValue(123);
    EXPECT_EQ(speed->ValueText(), L"123 km/h");
    SetWindowTextW(speed->hwnd, L"Tacho");
    EXPECT_EQ(speed->ValueText(), L"Tacho") << "a caption without a conversion is shown unchanged";
    SetWindowTextW(speed->hwnd, L"%d %s %n");
    EXPECT_EQ(speed->ValueText(), L"123 %s %n") << "stray conversions are shown, never filled";
}

TEST(RoundGauge, AnEmptyRangeShowsTheNeedleAtTheMinimum) {
    TestDialog dialog;
    auto* speed = dialog.Place(IDC_SPEED_GAUGE, new Counting<CGauge>, 100, 100);
    ASSERT_NE(speed, nullptr);
    EXPECT_EQ(speed->minimum, 100);
    EXPECT_EQ(speed->maximum, 100);
    speed->SetValue(150);
    EXPECT_EQ(speed->value, 100);
    UpdateWindow(speed->hwnd);
    EXPECT_GE(speed->paints, 1);
    EXPECT_DOUBLE_EQ(speed->AngleOf(100), kDialQuarterTurn);
    ASSERT_EQ(speed->ScaleMarks().size(), 1u);
    EXPECT_EQ(speed->ScaleMarks()[0].text, L"100");
    // a reversed range draws no scale at all
    speed->SetRange(10, 5);
    EXPECT_TRUE(speed->ScaleMarks().empty());
}

TEST(RoundGauge, ValueTextStaysClearOfEveryScaleNumberAndDotForEveryValue) {
    TestDialog dialog;
    struct Case {
        int id;
        int32_t maximum;
    } cases[] = {{IDC_RPM_GAUGE, 8000}, {IDC_SPEED_GAUGE, 250}};
    for (const Case& c : cases) {
        CGauge* gauge = dialog.Place(c.id, new CGauge, 0, c.maximum);
        ASSERT_NE(gauge, nullptr);
        const RECT client = ClientOf(gauge->hwnd);
        const std::vector<ScaleMark> marks = gauge->ScaleMarks();
        ASSERT_EQ(marks.back().value, c.maximum);
        int widest = 0;
        for (int32_t v = 0; v <= c.maximum; ++v) {
            gauge->value = v;
            const RECT box = gauge->ValueTextBox();
            widest = std::max<int>(widest, box.right - box.left);
            ASSERT_TRUE(box.top >= client.top && box.bottom <= client.bottom) << v << ": " << Text(box);
            for (const ScaleMark& mark : marks) {
                const RECT dot{mark.dot.x - 3, mark.dot.y - 3, mark.dot.x + 4, mark.dot.y + 4};
                ASSERT_TRUE(Apart(box, mark.label, 1)) << Ascii(gauge->ValueText()) << " meets " << Ascii(mark.text);
                ASSERT_TRUE(Apart(box, dot, 1)) << Ascii(gauge->ValueText()) << " meets the dot of " << mark.value;
            }
        }
        EXPECT_GT(widest, 3 * gauge->valueFontHeight) << "the box is the measured text";
        gauge->value = 1;
        const RECT shortText = gauge->ValueTextBox();
        EXPECT_NEAR((shortText.left + shortText.right) / 2, (client.left + client.right) / 2, 1) << "centred";
    }
}

TEST(RectGauge, FettMarksTheRichLowRatiosAndMagerTheLeanHighOnesClearOfTheScale) {
    TestDialog dialog;
    CRectGauge* airFuel = dialog.Place(IDC_AF_BAR, new CRectGauge, 100, 180);
    ASSERT_NE(airFuel, nullptr);
    const RECT client = ClientOf(airFuel->hwnd);
    const RECT rich = airFuel->MixtureIconRect(client, true), lean = airFuel->MixtureIconRect(client, false);
    const std::vector<ScaleMark> marks = airFuel->ScaleMarks();
    ASSERT_EQ(marks.front().text, L"10");
    ASSERT_EQ(marks.back().text, L"18");
    EXPECT_LT(std::abs(CentreOf(rich).x - marks.front().dot.x), std::abs(CentreOf(rich).x - marks.back().dot.x));
    EXPECT_LT(std::abs(CentreOf(lean).x - marks.back().dot.x), std::abs(CentreOf(lean).x - marks.front().dot.x));
    EXPECT_NEAR(rich.left - client.left, client.right - lean.right, 1) << "mirror images about the middle";
    for (const RECT& icon : {rich, lean})
        for (const ScaleMark& mark : marks) EXPECT_TRUE(Apart(icon, mark.label, 1)) << Text(icon) << Ascii(mark.text);
    // the pictures drawn there: every opaque pixel of each icon at its own place
    for (const auto& [name, place] : {std::pair{L"FETT", rich}, std::pair{L"MAGER", lean}}) {
        const std::vector<RGBQUAD> icon = IconPixels(name);
        if (icon.empty()) continue;  // a build without pictures
        int opaque = 0;
        const int matching = OpaquePixelsMatching(*airFuel, place, icon, &opaque);
        EXPECT_GT(opaque, 50) << Ascii(name);
        EXPECT_EQ(matching, opaque) << Ascii(name) << " at " << Text(place);
    }
}

TEST(RectGauge, AirFuelBarShowsTenthsFrom10To18OnTheUpperHalf) {
    TestDialog dialog;
    CRectGauge* airFuel = dialog.Place(IDC_AF_BAR, new CRectGauge, 100, 180);
    ASSERT_NE(airFuel, nullptr);
    // SetRange rounds to ten intervals; the background to the style's five
    EXPECT_EQ(airFuel->step, 20);
    EXPECT_EQ(airFuel->minimum, 100);
    EXPECT_EQ(airFuel->maximum, 180);
    EXPECT_EQ(airFuel->startAngle, 130);
    EXPECT_EQ(airFuel->endAngle, 230);
    EXPECT_EQ(airFuel->value, 100) << "0 clamped to the range";
    std::vector<ScaleMark> marks = airFuel->ScaleMarks();
    const std::vector<std::wstring> texts{L"10", L"12", L"14", L"16", L"18"};
    EXPECT_EQ(TextsOf(marks), texts);
    const double degrees[] = {130, 155, 180, 205, 230};
    RECT dial = ClientOf(airFuel->hwnd);
    airFuel->FitDialCircle(dial);
    const POINT centre = CentreOf(dial);
    for (size_t i = 0; i < marks.size() && i < 5; ++i) {
        EXPECT_NEAR(airFuel->AngleOf(marks[i].value) / kDialDegree, degrees[i], 1e-9) << "mark " << marks[i].value;
        EXPECT_EQ(BackgroundPixel(*airFuel, marks[i].dot), RGB(0, 0, 0)) << "dot of " << marks[i].value;
        EXPECT_LT(marks[i].dot.y, centre.y) << "upper half";
    }
    EXPECT_LT(marks.front().dot.x, marks.back().dot.x) << "rich to lean from left to right";
    // the marked sector between 160° and 170°, whatever the range
    const double inside = 165 * kDialDegree, outside = 140 * kDialDegree;
    const int radius = (dial.bottom - dial.top) / 5;
    POINT inSector{static_cast<LONG>(centre.x - std::sin(inside) * radius), static_cast<LONG>(centre.y + std::cos(inside) * radius)};
    POINT offSector{static_cast<LONG>(centre.x - std::sin(outside) * radius), static_cast<LONG>(centre.y + std::cos(outside) * radius)};
    EXPECT_EQ(BackgroundPixel(*airFuel, inSector), RGB(200, 200, 0));
    EXPECT_NE(BackgroundPixel(*airFuel, offSector), RGB(200, 200, 0));
    // the caption has no conversion: it is the value text
    airFuel->SetValue(132);
    EXPECT_EQ(airFuel->ValueText(), L"A/F");
}

TEST(RectGauge, GasBarShowsTenthsFrom40To120ThroughTheBottom) {
    TestDialog dialog;
    CRectGauge* gas = dialog.Place(IDC_GAS_BAR, new CRectGauge, 400, 1200);
    ASSERT_NE(gas, nullptr);
    gas->style = 2;
    gas->SetRange(400, 1200);
    EXPECT_EQ(gas->step, 200);
    EXPECT_EQ(gas->value, 400) << "a throttle gauge starts at its minimum";
    std::vector<ScaleMark> marks = gas->ScaleMarks();
    const std::vector<std::wstring> texts{L"40", L"60", L"80", L"100", L"120"};
    ASSERT_EQ(TextsOf(marks), texts);
    const double degrees[] = {410, 385, 360, 335, 310};
    RECT dial = ClientOf(gas->hwnd);
    gas->FitDialCircle(dial);
    const POINT centre = CentreOf(dial);
    for (size_t i = 0; i < marks.size(); ++i) {
        EXPECT_NEAR(gas->AngleOf(marks[i].value) / kDialDegree, degrees[i], 1e-9) << "mark " << marks[i].value;
        EXPECT_GT(marks[i].dot.y, centre.y) << "lower half, mark " << marks[i].value;
    }
    EXPECT_LT(marks[0].dot.x, centre.x) << "40 at the lower left";
    EXPECT_NEAR(marks[2].dot.x, centre.x, 1) << "80 straight down";
    EXPECT_GT(marks[4].dot.x, centre.x) << "120 at the lower right";
    EXPECT_GT(marks[2].dot.y, marks[0].dot.y);
}

TEST(RectGauge, NeedleMovesWithTheValueAndStopsAtTheEnds) {
    TestDialog dialog;
    auto* gas = dialog.Place(IDC_GAS_BAR, new Counting<CRectGauge>, 400, 1200);
    ASSERT_NE(gas, nullptr);
    gas->style = 2;
    gas->SetRange(400, 1200);
    UpdateWindow(gas->hwnd);
    const RECT client = ClientOf(gas->hwnd);
    struct Case {
        int32_t set, shown, elsewhere;
    };
    const Case cases[] = {{800, 800, 400}, {5000, 1200, 800}, {-3, 400, 1200}, {1000, 1000, 600}};
    for (const Case& c : cases) {
        gas->SetValue(c.set);
        EXPECT_EQ(gas->value, c.shown) << "set " << c.set;
        POINT tail{}, tip{};
        gas->NeedleEnds(client, tail, tip);
        const POINT probe = Between(tail, tip, 0.85);
        const COLORREF with = ScreenPixel(gas->hwnd, probe);
        gas->SetValue(c.elsewhere);
        const COLORREF without = ScreenPixel(gas->hwnd, probe);
        EXPECT_NE(with, without) << "set " << c.set << " at " << probe.x << "," << probe.y;
        // the grey body of the needle, tinted by the glass at most a little
        EXPECT_LE(std::abs(GetRValue(with) - GetBValue(with)), 40) << "set " << c.set << ": " << Hex(with);
    }
    int before = gas->paints;
    gas->SetValue(600);
    gas->SetValue(600);
    gas->SetValue(700);
    EXPECT_EQ(gas->paints - before, 1) << "600 was shown already";
}

TEST(RectGauge, FitDialCirclePutsTheArcThroughTheCornersAndTheMiddleOfTheEdge) {
    struct Case {
        int32_t style;
        RECT rect, fitted;
    };
    const Case cases[] = {
        {1, {0, 0, 200, 100}, {15, 15, 185, 185}},  // twice as wide as high: R = w / 2
        {2, {0, 0, 200, 100}, {15, -85, 185, 85}},
        {0, {0, 0, 200, 100}, {15, 15, 185, 85}},
        {3, {0, 0, 200, 100}, {15, 15, 185, 85}},
        {4, {10, 20, 110, 60}, {25, 35, 95, 45}},
        {1, {0, 0, 262, 130}, {15, 15, 247, 247}},   // R = 68644 / 1040 + 65 = 131
        {1, {2, 2, 260, 128}, {17, 17, 245, 245}},   // R = 66564 / 1008 + 63 = 129
        {1, {0, 0, 100, 0}, {15, 15, 85, -15}},      // no height: nothing to fit
    };
    for (const Case& c : cases) {
        CRectGauge gauge;
        gauge.style = c.style;
        RECT rect = c.rect;
        gauge.FitDialCircle(rect);
        EXPECT_TRUE(EqualRect(&rect, &c.fitted))
            << "style " << c.style << ": " << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom;
    }
}

TEST(RectGauge, OtherStylesAndAnEmptyRangeDrawWithoutFailing) {
    TestDialog dialog(L"SHAPES");
    ASSERT_NE(dialog.window, nullptr);
    struct Case {
        int id;
        int32_t style, startAngle, endAngle;
    };
    const Case cases[] = {{kStyle0, 0, 45, 315}, {kStyle3, 3, 40, 140}, {kStyle4, 4, 240, 320}};
    for (const Case& c : cases) {
        auto* gauge = new Counting<CRectGauge>;
        gauge->style = c.style;
        ASSERT_NE(dialog.Place(c.id, gauge, 0, 1000), nullptr);
        EXPECT_EQ(gauge->startAngle, c.startAngle) << "style " << c.style;
        EXPECT_EQ(gauge->endAngle, c.endAngle) << "style " << c.style;
        gauge->SetValue(500);
        EXPECT_EQ(gauge->paints, 1) << "style " << c.style;
        EXPECT_EQ(gauge->ValueText(), L"500");
        gauge->SetRange(700, 700);
        gauge->SetValue(900);
        UpdateWindow(gauge->hwnd);
        EXPECT_EQ(gauge->value, 700) << "style " << c.style;
        EXPECT_TRUE(std::isfinite(gauge->AngleOf(700)));
        EXPECT_EQ(gauge->ScaleMarks().size(), 1u) << "style " << c.style;
    }
    // a style the program never uses keeps the previous angles
    auto* odd = static_cast<CRectGauge*>(ObjectFromWindow(GetDlgItem(dialog.window, kStyle4)));
    ASSERT_NE(odd, nullptr);
    odd->style = 9;
    odd->SetRange(0, 100);
    EXPECT_EQ(odd->startAngle, 240);
    EXPECT_EQ(odd->endAngle, 320);
    UpdateWindow(odd->hwnd);
}

TEST(Indicator, LightsRedWithYellowTextAndIsGreyWhenOff) {
    TestDialog dialog;
    auto* slip = dialog.Place(IDC_SLIP_LAMP, new Counting<CIndicator>, 0, 1);
    ASSERT_NE(slip, nullptr);
    UpdateWindow(slip->hwnd);
    const RECT client = ClientOf(slip->hwnd);
    const POINT field{client.left + 4, (client.top + client.bottom) / 2};
    RECT text = client;
    InflateRect(&text, -5, -5);  // inside the lamp's outline
    EXPECT_EQ(slip->value, 0);
    EXPECT_EQ(ScreenPixel(slip->hwnd, field), RGB(128, 128, 128));
    EXPECT_EQ(CountPixels(slip->hwnd, text, RGB(255, 255, 0)), 0);
    EXPECT_GT(CountPixels(slip->hwnd, text, RGB(0, 0, 0)), 10) << "the caption in the default colour";

    struct Case {
        int32_t set, shown, repaints;
        COLORREF field;
    };
    const Case cases[] = {{5, 1, 1, RGB(255, 0, 0)},      {1, 1, 0, RGB(255, 0, 0)},
                          {-1, 0, 1, RGB(128, 128, 128)}, {0, 0, 0, RGB(128, 128, 128)},
                          {1, 1, 1, RGB(255, 0, 0)}};
    for (const Case& c : cases) {
        const int before = slip->paints;
        slip->SetValue(c.set);
        EXPECT_EQ(slip->value, c.shown) << "set " << c.set;
        EXPECT_EQ(slip->paints - before, c.repaints) << "set " << c.set;
        EXPECT_EQ(ScreenPixel(slip->hwnd, field), c.field) << "set " << c.set;
    }
    EXPECT_GT(CountPixels(slip->hwnd, text, RGB(255, 255, 0)), 10) << "yellow caption when lit";
    // the etched frame: grey outside, white inside
    EXPECT_EQ(ScreenPixel(slip->hwnd, {client.right / 2, 0}), RGB(127, 127, 127));
    EXPECT_EQ(ScreenPixel(slip->hwnd, {client.right / 2, client.bottom - 1}), RGB(255, 255, 255));
}

TEST(BigText, FontFillsTheControlAndAnUnchangedTextDoesNotRepaint) {
    TestDialog dialog;
    HWND control = GetDlgItem(dialog.window, IDC_RATIO_TEXT);
    auto* ratio = new CountingBigText;
    ratio->Attach(control);
    EXPECT_EQ(WindowTextOf(control), L"");
    ASSERT_NE(ratio->font, nullptr);
    EXPECT_STREQ(ratio->font->logFont.lfFaceName, L"Arial");
    EXPECT_EQ(ratio->font->logFont.lfHeight, ClientOf(control).bottom);
    EXPECT_EQ(ratio->font->logFont.lfWeight, 700);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), ratio->font->Font());
    UpdateWindow(control);

    // The static control paints a new text at once, without a paint
    // message: a mark put on its pixels shows whether it painted again.
    struct Case {
        const wchar_t* text;
        bool repaints;
    };
    const Case cases[] = {{L"2.346", true}, {L"2.346", false}, {L"2.35", true}, {L"Abc", true},
                          {L"ABC", true},   {L"ABC", false},   {L"", true},     {L"", false}};
    for (const Case& c : cases) {
        PutMark(control);
        EXPECT_TRUE(SetWindowTextW(control, c.text)) << "\"" << c.text << "\"";
        UpdateWindow(control);
        EXPECT_EQ(!HasMark(control), c.repaints) << "\"" << c.text << "\"";
        EXPECT_EQ(WindowTextOf(control), c.text);
    }
    // a text longer than any reading still compares in full
    std::wstring longText(100, L'8');
    SetWindowTextW(control, longText.c_str());
    PutMark(control);
    SetWindowTextW(control, longText.c_str());
    EXPECT_TRUE(HasMark(control));
    longText.back() = L'9';
    SetWindowTextW(control, longText.c_str());
    UpdateWindow(control);
    EXPECT_FALSE(HasMark(control));
}

TEST(BigText, AnEmptyTemplateTextGivesTheDefaultFaceAtTheControlsHeight) {
    TestDialog dialog;
    HWND control = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_CENTER, 10, 10, 120, 40,
                                   dialog.window, nullptr, nullptr, nullptr);
    auto* text = new CBigText;
    text->Attach(control);
    ASSERT_NE(text->font, nullptr);
    EXPECT_STREQ(text->font->logFont.lfFaceName, L"");
    EXPECT_EQ(text->font->logFont.lfHeight, 40);
    EXPECT_NE(text->font->Font(), nullptr);
    SetWindowTextW(control, L"1.5");
    EXPECT_EQ(WindowTextOf(control), L"1.5");
    DestroyWindow(control);  // frees the font and the object
}

// All instruments with readings of a car at full throttle in third gear;
// the picture must look like a real instrument panel.
TEST(Screenshot, InstrumentsWithLiveValues) {
    TestDialog dialog;
    ASSERT_NE(dialog.window, nullptr);
    auto* ratio = new CBigText;
    ratio->Attach(GetDlgItem(dialog.window, IDC_RATIO_TEXT));
    CGauge* rpm = dialog.Place(IDC_RPM_GAUGE, new CGauge, 0, 8000);
    CGauge* speed = dialog.Place(IDC_SPEED_GAUGE, new CGauge, 0, 250);
    CRectGauge* airFuel = dialog.Place(IDC_AF_BAR, new CRectGauge, 100, 180);
    auto* gas = new CRectGauge;
    gas->style = 2;
    dialog.Place(IDC_GAS_BAR, gas, 400, 1200);
    CIndicator* slip = dialog.Place(IDC_SLIP_LAMP, new CIndicator, 0, 1);
    CIndicator* link = dialog.Place(IDC_TRANSMISSION_LAMP, new CIndicator, 0, 1);
    ASSERT_TRUE(rpm && speed && airFuel && slip && link);
    HWND devices = GetDlgItem(dialog.window, IDC_DEVICE_LIST);
    SendMessageW(devices, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Lambda/Gas"));
    SendMessageW(devices, CB_SETCURSEL, 0, 0);
    SendDlgItemMessageW(dialog.window, IDC_RUN_PROGRESS, PBM_SETPOS, 35, 0);
    rpm->SetValue(5230);
    speed->SetValue(143);
    airFuel->SetValue(128);
    gas->SetValue(1090);
    slip->SetValue(1);
    link->SetValue(0);
    SetWindowTextW(ratio->hwnd, L"2.346");
    EXPECT_TRUE(SaveScreenshot(dialog.window, L"instruments.png"));

    TestDialog shapes(L"SHAPES");
    const int ids[] = {kStyle0, kStyle3, kStyle4};
    const int32_t styles[] = {0, 3, 4};
    for (int i = 0; i < 3; ++i) {
        auto* gauge = new CRectGauge;
        gauge->style = styles[i];
        shapes.Place(ids[i], gauge, 0, 1000);
        gauge->SetValue(650);
    }
    EXPECT_TRUE(SaveScreenshot(shapes.window, L"instrument-styles.png"));
}
