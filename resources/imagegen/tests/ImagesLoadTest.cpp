// Loads every picture of images.rc by name, the way the program does, from a
// program that also links another resource script, and draws the ones with
// alpha through AlphaBlend and DrawIconEx.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

}  // namespace
