// Loads every picture of images.rc by name, the way the program does, from a
// program that also links another resource script, and draws the ones with
// alpha through AlphaBlend and DrawIconEx.

#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "ImageFiles.h"

namespace {

const wchar_t* const kIcons[] = {L"MAINICON", L"XYICON",   L"FILEOPEN", L"FILEADD",  L"FILEPRINT", L"STARTMS",
                                 L"CONFIG",   L"ZOOMALL",  L"VIEWPAGE", L"CORR",     L"EDITDATA",  L"SHOWLAMB",
                                 L"FETT",     L"MAGER",    L"LAMPON",   L"LAMPOFF"};

std::string narrow(const wchar_t* s) { return std::string(s, s + wcslen(s)); }

// A 32-bit top-down DIB section to draw into and read back.
class Surface {
public:
    Surface(int width, int height, COLORREF fill) : width_(width), height_(height) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        HBRUSH brush = CreateSolidBrush(fill);
        RECT r{0, 0, width, height};
        FillRect(dc_, &r, brush);
        DeleteObject(brush);
    }
    ~Surface() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    // R, G, B of a pixel
    int width() const { return width_; }
    int height() const { return height_; }
    COLORREF at(int x, int y) const {
        GdiFlush();
        const uint32_t v = bits_[y * width_ + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    uint32_t* bits_ = nullptr;
};

HBITMAP loadBitmap(const wchar_t* name) {
    return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

TEST(ImageResources, EveryIconLoadsAtSixteenThirtyTwoAndFortyEightPixels) {
    for (const wchar_t* name : kIcons)
        for (int size : {16, 32, 48}) {
            HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_ICON, size, size, 0));
            ASSERT_NE(icon, nullptr) << narrow(name) << " at " << size;
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(icon, &info)) << narrow(name);
            BITMAP bm{};
            GetObjectW(info.hbmColor, sizeof bm, &bm);
            EXPECT_EQ(bm.bmWidth, size) << narrow(name);
            EXPECT_EQ(bm.bmHeight, size) << narrow(name);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
}

TEST(ImageResources, IconsWithoutAGivenSizeComeAtThirtyTwoPixels) {
    // what LoadIcon and a button's icon substitution get: the system icon size
    for (const wchar_t* name : kIcons) {
        HICON loaded = LoadIconW(GetModuleHandleW(nullptr), name);
        HICON fromImage = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
        for (HICON icon : {loaded, fromImage}) {
            ASSERT_NE(icon, nullptr) << narrow(name);
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(icon, &info)) << narrow(name);
            BITMAP bm{};
            GetObjectW(info.hbmColor, sizeof bm, &bm);
            EXPECT_EQ(bm.bmWidth, 32) << narrow(name);
            EXPECT_EQ(bm.bmBitsPixel, 32) << narrow(name);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
        }
        DestroyIcon(fromImage);
    }
}

TEST(ImageResources, IconGroupsHoldThreeTrueColourImages) {
#pragma pack(push, 2)
    struct GroupEntry {
        BYTE width, height, colours, reserved;
        WORD planes, bitCount;
        DWORD bytes;
        WORD id;
    };
    struct Group {
        WORD reserved, type, count;
        GroupEntry entries[1];
    };
#pragma pack(pop)
    for (const wchar_t* name : kIcons) {
        HRSRC res = FindResourceW(nullptr, name, MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
        ASSERT_NE(res, nullptr) << narrow(name);
        const auto* group = static_cast<const Group*>(LockResource(LoadResource(nullptr, res)));
        ASSERT_NE(group, nullptr) << narrow(name);
        ASSERT_EQ(group->count, 3) << narrow(name);
        const int sizes[] = {16, 32, 48};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(group->entries[i].width, sizes[i]) << narrow(name);
            EXPECT_EQ(group->entries[i].bitCount, 32) << narrow(name);
        }
    }
}

TEST(ImageResources, BitmapsLoadWithTheirSizeAndDepth) {
    struct Case {
        const wchar_t* name;
        int width, height, bits;
    };
    const Case cases[] = {{L"GAUGE1", 300, 300, 32}, {L"GAUGE2", 300, 300, 32}, {L"GAUGE3", 300, 300, 32},
                          {L"KALTRNX", 164, 37, 24}, {L"FETT", 17, 9, 4},        {L"MAGER", 17, 9, 4}};
    for (const Case& c : cases) {
        HBITMAP bitmap = loadBitmap(c.name);
        ASSERT_NE(bitmap, nullptr) << narrow(c.name);
        DIBSECTION ds{};
        ASSERT_EQ(GetObjectW(bitmap, sizeof ds, &ds), static_cast<int>(sizeof ds)) << narrow(c.name);
        EXPECT_EQ(ds.dsBm.bmWidth, c.width) << narrow(c.name);
        EXPECT_EQ(ds.dsBm.bmHeight, c.height) << narrow(c.name);
        EXPECT_EQ(ds.dsBm.bmBitsPixel, c.bits) << narrow(c.name);
        if (c.bits == 32) {
            // premultiplied: no colour byte above its alpha
            const auto* p = static_cast<const uint8_t*>(ds.dsBm.bmBits);
            int bad = 0;
            for (int i = 0; i < c.width * c.height; ++i)
                bad += p[4 * i] > p[4 * i + 3] || p[4 * i + 1] > p[4 * i + 3] || p[4 * i + 2] > p[4 * i + 3];
            EXPECT_EQ(bad, 0) << narrow(c.name);
        }
        DeleteObject(bitmap);
    }
    // the plain LoadBitmap path works too
    HBITMAP plain = LoadBitmapW(GetModuleHandleW(nullptr), L"FETT");
    EXPECT_NE(plain, nullptr);
    DeleteObject(plain);
}

TEST(ImageResources, OverlaysBlendWithPerPixelAlpha) {
    // the needle's cap, stretched as the round gauge stretches it, over white
    HBITMAP cover = loadBitmap(L"GAUGE3");
    ASSERT_NE(cover, nullptr);
    Surface target(350, 350, RGB(255, 255, 255));
    HDC source = CreateCompatibleDC(target.dc());
    HGDIOBJ old = SelectObject(source, cover);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ASSERT_TRUE(AlphaBlend(target.dc(), 0, 0, 350, 350, source, 0, 0, 300, 300, blend));
    EXPECT_EQ(target.at(3, 3), RGB(255, 255, 255)) << "the corner stays clear";
    EXPECT_EQ(target.at(175, 230), RGB(255, 255, 255)) << "the face stays free for the needle";
    EXPECT_LT(GetRValue(target.at(175, 175)), 200) << "the cap covers the pivot";
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(cover);
}

TEST(ImageResources, LampIconsDrawWithTheirAlpha) {
    Surface target(48, 48, RGB(255, 255, 255));
    HICON lit = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"LAMPON", IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(lit, nullptr);
    ASSERT_TRUE(DrawIconEx(target.dc(), 8, 8, lit, 32, 32, 0, nullptr, DI_NORMAL));
    const COLORREF corner = target.at(8, 8), middle = target.at(24, 24);
    EXPECT_EQ(corner, RGB(255, 255, 255));
    EXPECT_GT(GetRValue(middle), 150);
    EXPECT_LT(GetGValue(middle), 120);
    DestroyIcon(lit);
}

TEST(ImageResources, TheOtherResourceScriptStillCounts) {
    wchar_t text[64] = {};
    ASSERT_GT(LoadStringW(GetModuleHandleW(nullptr), 40018, text, 64), 0);
    EXPECT_EQ(std::wstring(text), L"Fehler");
}

// ---- the instruments composed with real GDI text, as the measurement dialog draws them ----

void blendPicture(HDC target, const wchar_t* name, int x, int y, int w, int h, BYTE alpha) {
    HBITMAP bitmap = loadBitmap(name);
    HDC source = CreateCompatibleDC(target);
    HGDIOBJ old = SelectObject(source, bitmap);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
    AlphaBlend(target, x, y, w, h, source, 0, 0, 300, 300, blend);
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(bitmap);
}

void text(HDC dc, const std::wstring& s, RECT r, COLORREF color) {
    SetTextColor(dc, color);
    DrawTextW(dc, s.c_str(), -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOCLIP);
}

HFONT boldArial(int height) {
    return CreateFontW(height, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, L"Arial");
}

void line(HDC dc, int x0, int y0, int x1, int y1, int width, COLORREF color) {
    HPEN pen = CreatePen(PS_SOLID, width, color);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    SelectObject(dc, old);
    DeleteObject(pen);
}

// The round gauge: face, yellow dots and numbers, needle (plain pens here),
// value text, then the cap and the glass.
void roundGauge(Surface& s, int ox, int oy, int W, int H, int minimum, int maximum, int step, int value,
                const wchar_t* format) {
    HDC dc = s.dc();
    SetViewportOrgEx(dc, ox, oy, nullptr);
    HRGN clip = CreateRectRgn(ox, oy, ox + W, oy + H);
    SelectClipRgn(dc, clip);
    blendPicture(dc, L"GAUGE1", -25, -25, W + 50, H + 50, 255);
    SetBkMode(dc, TRANSPARENT);
    HFONT labels = boldArial(18);
    HGDIOBJ oldFont = SelectObject(dc, labels);
    const int w = W - 20, h = H - 20, cx = W / 2, cy = H / 2;
    auto theta = [&](double v) { return (v - minimum) * 3.1415 * 1.5 / (maximum - minimum) + 0.785375; };
    for (int v = minimum; v <= maximum; v += step) {
        const double a = -std::sin(theta(v)), b = std::cos(theta(v));
        const int x = static_cast<int>(w * a / 2.2 + cx), y = static_cast<int>(h * b / 2.2 + cy);
        line(dc, x, y, x, y, 6, RGB(255, 255, 127));
        const std::wstring t = std::to_wstring(v);
        RECT m{0, 0, 0, 0};
        DrawTextW(dc, t.c_str(), -1, &m, DT_SINGLELINE | DT_CALCRECT);
        const int tw = m.right, th = m.bottom;
        const int lx = static_cast<int>((w - tw - 10) * a / 2.3 + cx), ly = static_cast<int>((h - th) * b / 2.3 + cy);
        RECT r{lx - tw / 2, ly - th / 2, lx + tw / 2 + 1, ly + th / 2 + 1};
        text(dc, t, r, RGB(0, 0, 0));
        OffsetRect(&r, -1, -1);
        text(dc, t, r, RGB(255, 255, 100));
    }
    const double th = theta(value);
    const int dx = static_cast<int>(std::sin(th) * W / -2.5), dy = static_cast<int>(std::cos(th) * H / 2.5);
    const int x0 = cx - dx / 3, y0 = cy - dy / 3, x1 = cx + dx, y1 = cy + dy;
    line(dc, x0 - 1, y0 - 1, x1 - 1, y1 - 1, 7, RGB(255, 127, 127));
    line(dc, x0 + 1, y0 + 1, x1 + 1, y1 + 1, 7, RGB(50, 0, 0));
    line(dc, x0, y0, x1, y1, 7, RGB(240, 0, 0));
    line(dc, x0, y0, x1, y1, 3, RGB(255, 255, 0));
    HFONT big = boldArial(20);
    SelectObject(dc, big);
    wchar_t buffer[32];
    std::swprintf(buffer, 32, format, value);
    RECT r{0, H / 2, W, H};
    text(dc, buffer, r, RGB(255, 255, 255));
    OffsetRect(&r, 1, 1);
    text(dc, buffer, r, RGB(0, 0, 0));
    blendPicture(dc, L"GAUGE3", -25, -25, W + 50, H + 50, 255);
    blendPicture(dc, L"GAUGE2", -25, -25, W + 50, H + 50, 80);
    SelectObject(dc, oldFont);
    DeleteObject(labels);
    DeleteObject(big);
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
    SetViewportOrgEx(dc, 0, 0, nullptr);
}

void savePng(const Surface& s, const std::string& path) {
    Canvas c(s.width(), s.height());
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            const COLORREF p = s.at(x, y);
            c.setPixel(x, y, rgb(GetRValue(p), GetGValue(p), GetBValue(p)));
        }
    writeFile(path, encodePng(c));
}

TEST(ImageResources, RoundGaugesComposeIntoReadableInstruments) {
    // the placeholders' size under Wine: 175 x 160 dialog units, a dialog
    // unit 1.5 pixels wide and 1.625 high
    Surface s(550, 276, RGB(240, 240, 240));
    roundGauge(s, 8, 8, 263, 260, 0, 250, 50, 132, L"%d km/h");
    roundGauge(s, 279, 8, 263, 260, 0, 8000, 1000, 5640, L"%d U/min");
    // the scale numbers come out yellow on the face, the housing stays dark
    int yellow = 0;
    for (int y = 8; y < 268; ++y)
        for (int x = 8; x < 271; ++x) {
            const COLORREF p = s.at(x, y);
            yellow += GetRValue(p) > 220 && GetGValue(p) > 220 && GetBValue(p) < 150;
        }
    EXPECT_GT(yellow, 400);
    EXPECT_LT(GetRValue(s.at(10, 10)), 90);
    EXPECT_LT(GetRValue(s.at(8 + 131, 8 + 130)), 120) << "the cap lies over the pivot";
#ifdef KX_SCREENSHOTS
    savePng(s, std::string(KX_SCREENSHOTS) + "/images-gauges-gdi.png");
#endif
}

TEST(ImageResources, AboutBoxShowsIconAndLogoSideBySide) {
    // the About box: 142 x 54 dialog units, icon at 3,7, logo at 31,2, texts below
    Surface s(213, 81, GetSysColor(COLOR_3DFACE));
    HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(icon, nullptr);
    DrawIconEx(s.dc(), 4, 10, icon, 32, 32, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
    HBITMAP logo = loadBitmap(L"KALTRNX");
    ASSERT_NE(logo, nullptr);
    HDC source = CreateCompatibleDC(s.dc());
    HGDIOBJ old = SelectObject(source, logo);
    BitBlt(s.dc(), 46, 3, 164, 37, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(logo);
    HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Sans Serif");
    HGDIOBJ oldFont = SelectObject(s.dc(), font);
    SetBkMode(s.dc(), TRANSPARENT);
    SetTextColor(s.dc(), RGB(0, 0, 0));
    TextOutW(s.dc(), 70, 42, L"Deutsche Version", 16);
    TextOutW(s.dc(), 6, 63, L"Programm V2.05", 14);
    TextOutW(s.dc(), 93, 63, L"Library V2.05", 13);
    SelectObject(s.dc(), oldFont);
    DeleteObject(font);
    // white letters on the blue plate, the dark dial of the icon beside it
    int light = 0;
    for (int y = 3; y < 40; ++y)
        for (int x = 46; x < 210; ++x) {
            const COLORREF p = s.at(x, y);
            light += GetRValue(p) > 200 && GetGValue(p) > 200 && GetBValue(p) > 200;
        }
    EXPECT_GT(light, 600);
    EXPECT_LT(GetRValue(s.at(46 + 3, 3 + 30)), 60);
    EXPECT_GT(GetBValue(s.at(46 + 3, 3 + 30)), GetRValue(s.at(46 + 3, 3 + 30)));
    EXPECT_LT(GetRValue(s.at(4 + 16, 10 + 22)), 100);
#ifdef KX_SCREENSHOTS
    savePng(s, std::string(KX_SCREENSHOTS) + "/images-about-gdi.png");
#endif
}

}  // namespace
