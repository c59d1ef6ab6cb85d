// The instrument base and the drawing utilities on real windows and memory
// contexts under Wine: placement, clamping, the repaint policy, the cached
// background, the off-screen composition and the pixels of the helpers.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "Dlg.h"
#include "Drawing.h"
#include "Instr.h"
#include "MemDC.h"
#include "resource.h"

namespace {

const COLORREF kDial = RGB(0, 0, 160);
const COLORREF kNeedle = RGB(255, 255, 0);

// Draws a blue dial as background and, as its moving part, a yellow bar as
// wide as the value's share of the range; counts both.
class CountingInstr : public CInstr {
public:
    explicit CountingInstr(bool* deleted = nullptr) : deleted_(deleted) {}
    ~CountingInstr() override {
        if (deleted_) *deleted_ = true;
    }
    void DrawBackground(CDC& dc) override {
        ++renders;
        RECT area{};
        dc.GetRect(&area);
        lastBackgroundKind = dc.GetKind();
        InflateRect(&area, -2, -2);
        GdiSelection brush = SelectSolidBrush(dc.hdc, kDial);
        FillRect(dc.hdc, &area, static_cast<HBRUSH>(brush.object));
    }
    int Paint(CDC* dc) override {
        if (!dc) return 1;
        ++paints;
        PaintComposed(dc, [this](CDC& frame) {
            RECT area{};
            frame.GetRect(&area);
            int span = maximum > minimum ? maximum - minimum : 1;
            RECT bar{2, 2, 2 + (area.right - 4) * (value - minimum) / span, 12};
            GdiSelection brush = SelectSolidBrush(frame.hdc, kNeedle);
            FillRect(frame.hdc, &bar, static_cast<HBRUSH>(brush.object));
        });
        return 1;
    }
    int renders = 0;
    int paints = 0;
    int lastBackgroundKind = -1;

private:
    bool* deleted_;
};

struct GaugeDialog {
    GaugeDialog() {
        CDlg* dialog = CreateModeless(kModelessDialog, new CDlg, L"GAUGES", nullptr);
        window = dialog ? dialog->hwnd : nullptr;
    }
    ~GaugeDialog() {
        if (IsWindow(window)) DestroyWindow(window);
    }
    CountingInstr* Place(int id, int32_t minimum, int32_t maximum, bool* deleted = nullptr) {
        return static_cast<CountingInstr*>(
            ReplacePlaceholder(GetDlgItem(window, id), new CountingInstr(deleted), minimum, maximum));
    }
    HWND window = nullptr;
};

RECT ChildRect(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

COLORREF ScreenPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return pixel;
}

}  // namespace

TEST(Instrument, ReplacesItsPlaceholderAndStartsAtZeroClampedToItsRange) {
    GaugeDialog dialog;
    ASSERT_NE(dialog.window, nullptr);
    RECT placeholder = ChildRect(GetDlgItem(dialog.window, IDC_GAS_BAR));
    bool deleted = false;
    CountingInstr* gas = dialog.Place(IDC_GAS_BAR, 400, 1200, &deleted);
    ASSERT_NE(gas, nullptr);
    HWND window = gas->hwnd;
    EXPECT_EQ(GetDlgItem(dialog.window, IDC_GAS_BAR), window);
    RECT placed = ChildRect(window);
    EXPECT_TRUE(EqualRect(&placed, &placeholder));
    wchar_t text[32] = {}, className[64] = {};
    GetWindowTextW(window, text, 32);
    GetClassNameW(window, className, 64);
    EXPECT_STREQ(text, L"Gas");
    EXPECT_STREQ(className, L"WCLS_0_0_0_0");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & 0xFFFF0000u, 0x50020000u);
    EXPECT_EQ(gas->minimum, 400);
    EXPECT_EQ(gas->maximum, 1200);
    EXPECT_EQ(gas->step, 100) << "about ten intervals";
    EXPECT_EQ(gas->value, 400) << "0 clamped to the range";
    ASSERT_NE(gas->background, nullptr);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(gas->background->width, client.right);
    EXPECT_EQ(gas->background->height, client.bottom);
    EXPECT_EQ(gas->lastBackgroundKind, int(kMemoryDC));

    CountingInstr* speed = dialog.Place(IDC_SPEED_GAUGE, 0, 250);
    EXPECT_EQ(speed->value, 0);
    EXPECT_EQ(speed->step, 50);
    DestroyWindow(dialog.window);
    EXPECT_TRUE(deleted);
}

TEST(Instrument, SetValueClampsAndRepaintsAtOnceOnlyWhenTheValueChanges) {
    GaugeDialog dialog;
    CountingInstr* speed = dialog.Place(IDC_SPEED_GAUGE, 0, 250);
    UpdateWindow(speed->hwnd);
    struct Case {
        int32_t set;
        int32_t shown;
        int repaints;
    };
    const Case cases[] = {{100, 100, 1}, {100, 100, 0}, {300, 250, 1}, {260, 250, 0},
                          {-7, 0, 1},    {0, 0, 0},     {249, 249, 1}};
    for (const Case& c : cases) {
        int before = speed->paints;
        speed->SetValue(c.set);
        EXPECT_EQ(speed->value, c.shown) << "set " << c.set;
        EXPECT_EQ(speed->paints - before, c.repaints) << "set " << c.set;
    }
    // a reversed range: the minimum wins
    speed->SetRange(10, 5);
    speed->SetValue(7);
    EXPECT_EQ(speed->value, 10);
}

TEST(Instrument, RangeChangesRenderTheBackgroundAndRepaintWithTheNextPaint) {
    GaugeDialog dialog;
    CountingInstr* speed = dialog.Place(IDC_SPEED_GAUGE, 0, 250);
    UpdateWindow(speed->hwnd);
    int renders = speed->renders, paints = speed->paints;
    speed->SetRange(0, 8000);
    EXPECT_EQ(speed->maximum, 8000);
    EXPECT_EQ(speed->step, 1000);
    EXPECT_EQ(speed->renders, renders + 1);
    EXPECT_EQ(speed->paints, paints) << "no repaint until the next paint message";
    UpdateWindow(speed->hwnd);
    EXPECT_EQ(speed->paints, paints + 1);

    // a new caption redraws the background and the window at once
    SetWindowTextW(speed->hwnd, L"%d U/min");
    EXPECT_EQ(speed->renders, renders + 2);
    EXPECT_EQ(speed->paints, paints + 2);
}

TEST(Instrument, FramesAreComposedFromTheCachedBackgroundAndTheMovingParts) {
    GaugeDialog dialog;
    CountingInstr* speed = dialog.Place(IDC_SPEED_GAUGE, 0, 100);
    HWND window = speed->hwnd;
    speed->SetValue(50);
    RECT client{};
    GetClientRect(window, &client);
    int barEnd = 2 + (client.right - 4) / 2;
    EXPECT_EQ(ScreenPixel(window, 3, 5), kNeedle);
    EXPECT_EQ(ScreenPixel(window, barEnd - 1, 5), kNeedle);
    EXPECT_EQ(ScreenPixel(window, barEnd + 1, 5), kDial);
    EXPECT_EQ(ScreenPixel(window, client.right / 2, client.bottom / 2), kDial);
    EXPECT_EQ(ScreenPixel(window, 0, 0), GetSysColor(COLOR_BTNFACE)) << "corners in the dialog's colour";
    int renders = speed->renders;
    speed->SetValue(100);
    EXPECT_EQ(speed->renders, renders) << "a value change does not draw the dial again";
    EXPECT_EQ(ScreenPixel(window, barEnd + 1, 5), kNeedle);
}

TEST(Drawing, SunkenFrameEtchesWhiteInsideGreyAndShrinksTheRectangle) {
    CMemDC memory(nullptr, nullptr, 20, 20);
    HDC dc = memory.hdc;
    const COLORREF paper = RGB(200, 200, 200);
    {
        GdiSelection brush = SelectSolidBrush(dc, paper);
        RECT all{0, 0, 20, 20};
        FillRect(dc, &all, static_cast<HBRUSH>(brush.object));
    }
    RECT rect{0, 0, 20, 20};
    DrawSunkenFrame(rect, dc, 0);
    EXPECT_EQ(rect.left, 1);
    EXPECT_EQ(rect.top, 1);
    EXPECT_EQ(rect.right, 19);
    EXPECT_EQ(rect.bottom, 19);
    const COLORREF grey = RGB(127, 127, 127), white = RGB(255, 255, 255);
    struct Probe {
        int x, y;
        COLORREF colour;
    };
    const Probe probes[] = {{5, 0, grey},  {0, 5, grey},  {18, 5, grey},  {5, 18, grey},   {5, 1, white},
                            {1, 5, white}, {19, 5, white}, {5, 19, white}, {10, 10, paper}, {19, 0, paper}};
    for (const Probe& p : probes)
        EXPECT_EQ(GetPixel(dc, p.x, p.y), p.colour) << "pixel " << p.x << "," << p.y;
}

TEST(Drawing, BitmapsAreCopiedStretchedOrBlendedWithTheirAlpha) {
    // 2 × 1 pixels: an opaque red one and a fully transparent one (premultiplied)
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 2;
    info.bmiHeader.biHeight = -1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    static_cast<uint32_t*>(bits)[0] = 0xFFFF0000;  // ARGB: opaque red
    static_cast<uint32_t*>(bits)[1] = 0x00000000;  // transparent
    BitmapHolder holder(bitmap);
    EXPECT_EQ(holder.width, 2);
    EXPECT_EQ(holder.height, 1);

    HDC screen = GetDC(nullptr);
    CMemDC target(nullptr, screen, 8, 4);
    ReleaseDC(nullptr, screen);
    HDC dc = target.hdc;
    const COLORREF white = RGB(255, 255, 255), red = RGB(255, 0, 0), black = RGB(0, 0, 0);
    RECT all{0, 0, 8, 4};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    DrawBitmap(holder, dc, 0, 0, 0, 0, 0);  // 1:1 copy
    EXPECT_EQ(GetPixel(dc, 0, 0), red);
    EXPECT_EQ(GetPixel(dc, 1, 0), black) << "a plain copy ignores alpha";
    EXPECT_EQ(GetPixel(dc, 2, 0), white);

    DrawBitmap(holder, dc, 0, 1, 8, 2, 255);  // stretched and blended
    EXPECT_EQ(GetPixel(dc, 0, 1), red);
    EXPECT_EQ(GetPixel(dc, 3, 2), red);
    EXPECT_EQ(GetPixel(dc, 4, 1), white) << "transparent pixels leave the target alone";
    EXPECT_EQ(GetPixel(dc, 7, 2), white);
    EXPECT_EQ(holder.dc, nullptr) << "deselected afterwards";

    EXPECT_EQ(LoadBitmapHolder(L"GIBTESNICHT"), nullptr);
}

TEST(Drawing, SelectionsRestoreThePreviousObjectAndFreeTheirOwn) {
    CMemDC memory(nullptr, nullptr, 4, 4);
    HDC dc = memory.hdc;
    HGDIOBJ previousFont = GetCurrentObject(dc, OBJ_FONT);
    HGDIOBJ previousPen = GetCurrentObject(dc, OBJ_PEN);
    {
        FontSelection bold = CreateBoldFont(dc, 20, L"Arial");
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), bold.object);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        EXPECT_EQ(metrics.tmWeight, 700);
        EXPECT_EQ(metrics.tmHeight, 20);
        EXPECT_STREQ(bold.logFont.lfFaceName, L"Arial");
        EXPECT_EQ(bold.logFont.lfQuality, CLEARTYPE_QUALITY);

        GdiSelection pen = SelectPen(dc, PS_SOLID, 3, RGB(1, 2, 3));
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen.object);
        GdiSelection moved = std::move(pen);
        EXPECT_EQ(pen.object, nullptr);
        moved.Release();
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), previousPen);
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), previousFont);

    FontSelection unselected = CreateBoldFont(nullptr, 12, L"Arial");
    EXPECT_NE(unselected.object, nullptr);
    EXPECT_EQ(unselected.previous, nullptr);
}

TEST(Drawing, LinesRunFromTheFirstPointToBeforeTheSecond) {
    CMemDC memory(nullptr, nullptr, 10, 10);
    HDC dc = memory.hdc;
    RECT all{0, 0, 10, 10};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    GdiSelection pen = SelectPen(dc, PS_SOLID, 1, RGB(0, 0, 0));
    DrawLine(dc, 1, 1, 8, 1);
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 7, 1), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 8, 1), RGB(255, 255, 255));
}

TEST(MemDC, AnswersItsBitmapsRectangleAndHandsTheBitmapOver) {
    CMemDC memory(nullptr, nullptr, 30, 20);
    RECT rect{};
    memory.GetRect(&rect);
    EXPECT_EQ(rect.right, 30);
    EXPECT_EQ(rect.bottom, 20);
    EXPECT_EQ(memory.GetKind(), int(kMemoryDC));
    std::unique_ptr<BitmapHolder> bitmap = memory.DetachBitmap();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->width, 30);
    EXPECT_EQ(bitmap->dc, nullptr);
    memory.GetRect(&rect);
    EXPECT_TRUE(IsRectEmpty(&rect));
}
