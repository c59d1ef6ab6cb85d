#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <set>
#include <string>

#include "Pictures.h"

namespace {

const PictureEntry* find(const std::string& name, bool icon) {
    for (const PictureEntry& e : pictureCatalogue())
        if (e.name == name && (e.format == PictureFormat::Icon) == icon) return &e;
    return nullptr;
}

// Relative luminance of an sRGB colour, 0..1.
double luminance(Color c) {
    auto lin = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * lin(c.r) + 0.7152 * lin(c.g) + 0.0722 * lin(c.b);
}

double contrast(double l1, double l2) { return (std::max(l1, l2) + 0.05) / (std::min(l1, l2) + 0.05); }

TEST(Catalogue, NamesEveryPictureTheProgramLoads) {
    const char* icons[] = {"MAINICON", "XYICON",   "FILEOPEN", "FILEADD", "FILEPRINT", "STARTMS", "CONFIG", "ZOOMALL",
                           "VIEWPAGE", "CORR",     "EDITDATA", "SHOWLAMB", "FETT",     "MAGER",   "LAMPON", "LAMPOFF"};
    const char* bitmaps[] = {"GAUGE1", "GAUGE2", "GAUGE3", "KALTRNX", "FETT", "MAGER"};
    for (const char* n : icons) EXPECT_NE(find(n, true), nullptr) << "icon " << n;
    for (const char* n : bitmaps) EXPECT_NE(find(n, false), nullptr) << "bitmap " << n;
    EXPECT_EQ(pictureCatalogue().size(), std::size(icons) + std::size(bitmaps));

    std::set<std::string> files, keys;
    for (const PictureEntry& e : pictureCatalogue()) {
        for (const char* p = e.name; *p; ++p) EXPECT_TRUE(std::isupper(*p) || std::isdigit(*p)) << e.name;
        EXPECT_TRUE(files.insert(e.file).second) << "file used twice: " << e.file;
        EXPECT_TRUE(keys.insert(std::string(e.name) + (e.format == PictureFormat::Icon ? "/icon" : "/bitmap")).second)
            << e.name;
        if (e.format == PictureFormat::Icon) {
            EXPECT_EQ(e.sizes, (std::vector<int>{16, 32, 48})) << e.name;
        }
    }
}

TEST(Catalogue, ResourceScriptDeclaresEachPictureByName) {
    const std::string rc = resourceScript();
    EXPECT_NE(rc.find("#pragma code_page(65001)"), std::string::npos);
    for (const PictureEntry& e : pictureCatalogue()) {
        const std::string kind = e.format == PictureFormat::Icon ? " ICON" : " BITMAP";
        const size_t at = rc.find("\n" + std::string(e.name) + kind);
        ASSERT_NE(at, std::string::npos) << e.name << kind;
        const size_t end = rc.find('\n', at + 1);
        EXPECT_NE(rc.substr(at, end - at).find("\"images/" + std::string(e.file) + "\""), std::string::npos)
            << e.name;
    }
}

TEST(Icons, EveryIconHasClearAndSolidPixelsAtEverySize) {
    for (const PictureEntry& e : pictureCatalogue()) {
        if (e.format != PictureFormat::Icon) continue;
        for (int size : e.sizes) {
            Canvas c(size, size);
            e.drawIcon(c);
            int clear = 0, solid = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) {
                    const uint8_t a = c.straight8(x, y).a;
                    clear += a == 0;
                    solid += a == 255;
                }
            EXPECT_GT(clear, 0) << e.name << " at " << size;
            EXPECT_GT(solid, size * size / 5) << e.name << " at " << size;
        }
    }
}

TEST(Bitmaps, SizesAndAlpha) {
    struct Case {
        const char* name;
        int width, height;
    };
    const Case cases[] = {{"GAUGE1", 300, 300}, {"GAUGE2", 300, 300}, {"GAUGE3", 300, 300},
                          {"KALTRNX", 164, 37}, {"FETT", 17, 9},      {"MAGER", 17, 9}};
    for (const Case& c : cases) {
        const PictureEntry* e = find(c.name, false);
        ASSERT_NE(e, nullptr) << c.name;
        const Canvas image = e->makeBitmap();
        EXPECT_EQ(image.width(), c.width) << c.name;
        EXPECT_EQ(image.height(), c.height) << c.name;
    }
    const Canvas face = makeGaugeFace(), glass = makeGaugeGlass(), cover = makeGaugeCover();
    int glassMax = 0, coverClear = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x) {
            ASSERT_EQ(face.straight8(x, y).a, 255) << "GAUGE1 is opaque; pixel " << x << "," << y;
            glassMax = std::max<int>(glassMax, glass.straight8(x, y).a);
            coverClear += cover.straight8(x, y).a == 0;
        }
    // the reflection lies on the upper half of the glass only
    EXPECT_GT(glassMax, 128);
    EXPECT_EQ(glass.straight8(150, 230).a, 0);
    EXPECT_EQ(glass.straight8(2, 2).a, 0);
    // the cap covers the pivot; everything else stays free for the needle
    EXPECT_EQ(cover.straight8(150, 150).a, 255);
    EXPECT_EQ(cover.straight8(150, 190).a, 0);
    EXPECT_GT(coverClear, 300 * 300 * 3 / 4);
}

TEST(Bitmaps, DialFaceKeepsBothKindsOfScaleNumbersReadable) {
    // Round gauge: yellow (255, 255, 100) numbers and dots; A/F and gas bars:
    // black ones. Both sit 95 to 108 pixels from the picture's centre.
    const Canvas face = makeGaugeFace();
    double sum = 0;
    int n = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x) {
            const double r = std::hypot(x + 0.5 - 150, y + 0.5 - 150);
            if (r < 80 || r > 105) continue;
            sum += luminance(face.pixel(x, y));
            ++n;
        }
    const double faceLuminance = sum / n;
    const double yellow = luminance(rgb(255, 255, 100)), black = 0.0;
    EXPECT_GE(contrast(faceLuminance, yellow), 3.5) << "face luminance " << faceLuminance;
    EXPECT_GE(contrast(faceLuminance, black), 3.5) << "face luminance " << faceLuminance;
}

TEST(Bitmaps, MixtureMarksAreBlackLinesOnWhite) {
    const Canvas fett = makeFettBitmap(), mager = makeMagerBitmap();
    for (const Canvas* c : {&fett, &mager})
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 17; ++x) {
                const Rgba8 p = c->straight8(x, y);
                EXPECT_TRUE((p.r == 0 && p.g == 0 && p.b == 0) || (p.r == 255 && p.g == 255 && p.b == 255)) << x << "," << y;
            }
    auto black = [](const Canvas& c, int x, int y) { return c.straight8(x, y).r == 0; };
    // the same nozzle on the left
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) EXPECT_EQ(black(fett, x, y), black(mager, x, y)) << x << "," << y;
    // a fan reaching the upper and lower corners, or one straight jet
    EXPECT_TRUE(black(fett, 16, 0) && black(fett, 16, 4) && black(fett, 16, 8));
    EXPECT_TRUE(!black(mager, 16, 0) && black(mager, 16, 4) && !black(mager, 16, 8));
}

TEST(Encoding, SameBytesOnEveryRun) {
    for (const PictureEntry& e : pictureCatalogue()) {
        const Bytes a = encodePicture(e), b = encodePicture(e);
        EXPECT_EQ(a, b) << e.name;
        EXPECT_GT(a.size(), 100u) << e.name;
    }
}

}  // namespace
