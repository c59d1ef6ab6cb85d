#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <set>
#include <string>
#include <vector>

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
    const char* icons[] = {"MAINICON", "XYICON", "KXMFILE", "FILEOPEN", "FILEADD", "FILEPRINT", "STARTMS", "CONFIG", "ZOOMALL",
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
        const size_t at = rc.find("\n" + std::string(e.resourceId ? e.resourceId : e.name) + kind);
        ASSERT_NE(at, std::string::npos) << e.name << kind;
        const size_t end = rc.find('\n', at + 1);
        EXPECT_NE(rc.substr(at, end - at).find("\"images/" + std::string(e.file) + "\""), std::string::npos)
            << e.name;
    }
}

TEST(Catalogue, ProgramIconComesFirstAndTheFilesIconHasAnId) {
    const std::string rc = resourceScript();
    const size_t first = rc.find(" ICON ");
    ASSERT_NE(first, std::string::npos);
    const size_t lineStart = rc.rfind('\n', first) + 1;
    const std::string line = rc.substr(lineStart, rc.find('\n', first) - lineStart);
    EXPECT_EQ(line.rfind("APPICON ICON", 0), 0u) << line;
    EXPECT_NE(line.find("\"images/main.ico\""), std::string::npos) << "the same picture as MAINICON";
    // no other icon name may sort before it
    for (const PictureEntry& e : pictureCatalogue()) {
        if (e.format == PictureFormat::Icon && !e.resourceId) {
            EXPECT_LT(std::string("APPICON"), e.name);
        }
    }
    EXPECT_NE(rc.find("#include \"resource.h\""), std::string::npos);
    EXPECT_NE(rc.find("\nIDI_MEASUREMENT_FILE ICON"), std::string::npos);
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
    // black ones. Both sit 95 to 110 pixels from the picture's centre.
    const Canvas face = makeGaugeFace();
    double sum = 0;
    int n = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x) {
            const double r = std::hypot(x + 0.5 - 150, y + 0.5 - 150);
            if (r < 80 || r > 110) continue;
            sum += luminance(face.pixel(x, y));
            ++n;
        }
    const double faceLuminance = sum / n;
    const double yellow = luminance(rgb(255, 255, 100)), black = 0.0;
    EXPECT_GE(contrast(faceLuminance, yellow), 3.5) << "face luminance " << faceLuminance;
    EXPECT_GE(contrast(faceLuminance, black), 3.5) << "face luminance " << faceLuminance;
}

// Where the instruments put their scale, in pixels of the dial picture. Each
// instrument stretches the picture over a rectangle around its client area
// and draws dots (round pens) and numbers (bold Arial) on an ellipse in its
// own dial rectangle; the farthest point of a dot is its centre plus the
// pen's half width, of a number the corners of its text rectangle (two
// copies, one pixel apart) with the widest digits.
struct ScaleLayout {
    const char* instrument;
    double areaX, areaY, areaW, areaH;  // where the picture is stretched to
    double dialL, dialT, dialR, dialB;  // the rectangle of the scale's ellipse
    double fromDeg, toDeg;              // dial angles of the scale's ends
    double penHalf, cellHeight, digitWidth;
    int maxDigits;
    int highlight;  // offset of the second copy of a number
};

// The dial rectangle of the bars: a circle through the client's lower (A/F)
// or upper (gas) corners and the middle of the opposite edge, 15 pixels in.
ScaleLayout barLayout(const char* instrument, int W, int H, bool upper) {
    const int R = W * W / (8 * H) + H / 2, cx = W / 2;
    const double top = upper ? 0 : H - 2 * R;
    return {instrument, -25, upper ? -25.0 : -H - 25.0, W + 50.0, 2.0 * H + 50,
            cx - R + 15.0, top + 15, cx + R - 15.0, top + 2 * R - 15,
            upper ? 130.0 : 310.0, upper ? 230.0 : 410.0, 1.5, 14, 8, 3, 1};
}

ScaleLayout roundLayout(const char* instrument, int W, int H) {
    return {instrument, -25, -25, W + 50.0, H + 50.0, 10, 10, W - 10.0, H - 10.0,
            45, 315, 3, 18, 10, 4, -1};
}

constexpr double kRadian = 3.14159265358979323846 / 180;

bool faceLike(const Canvas& face, double px, double py) {
    const Color c = face.pixel(static_cast<int>(px), static_cast<int>(py));
    const double l = luminance(c);
    return contrast(l, luminance(rgb(255, 255, 100))) >= 3.0 && contrast(l, 0.0) >= 3.0;
}

TEST(Bitmaps, EveryScaleMarkOfTheInstrumentsLiesOnTheFace) {
    // the placeholders of the measurement dialog under Wine (175 x 160 and
    // 175 x 80 dialog units of 1.5 x 1.625 pixels), and a lower round one
    const ScaleLayout layouts[] = {roundLayout("round 263x260", 263, 260), roundLayout("round 263x240", 263, 240),
                                   barLayout("A/F 263x130", 263, 130, true), barLayout("Gas 263x130", 263, 130, false)};
    const Canvas face = makeGaugeFace();
    for (const ScaleLayout& s : layouts) {
        const double w = s.dialR - s.dialL, h = s.dialB - s.dialT;
        const double cx = std::trunc((s.dialL + s.dialR) / 2), cy = std::trunc((s.dialT + s.dialB) / 2);
        double worstMargin = 1e9;
        int marksOffTheFace = 0;
        std::string firstOff;
        for (double deg = s.fromDeg; deg <= s.toDeg; deg += 1) {
            const double a = -std::sin(deg * kRadian), b = std::cos(deg * kRadian);
            std::vector<Point> points;
            const double dx = std::trunc(w * a / 2.2 + cx), dy = std::trunc(h * b / 2.2 + cy);
            for (double ox : {-s.penHalf, s.penHalf})
                for (double oy : {-s.penHalf, s.penHalf}) points.push_back({dx + ox, dy + oy});
            for (int digits = 1; digits <= s.maxDigits; ++digits) {
                const double tw = digits * s.digitWidth + 2, th = s.cellHeight;
                const double lx = std::trunc((w - tw - 10) * a / 2.3 + cx), ly = std::trunc((h - th) * b / 2.3 + cy);
                const double l = lx - std::floor(tw / 2) + std::min(0, s.highlight);
                const double r = lx + std::floor(tw / 2) + 1 + std::max(0, s.highlight);
                const double t = ly - std::floor(th / 2) + std::min(0, s.highlight);
                const double bo = ly + std::floor(th / 2) + 1 + std::max(0, s.highlight);
                for (double x : {l, r})
                    for (double y : {t, bo}) points.push_back({x, y});
            }
            for (const Point& p : points) {
                // into the picture's pixels
                const double px = (p.x - s.areaX) * 300 / s.areaW, py = (p.y - s.areaY) * 300 / s.areaH;
                const double radius = std::hypot(px - 150, py - 150);
                // all the way from the middle out to this point and two pixels
                // beyond, the face must keep both kinds of numbers readable
                bool onFace = true;
                for (double t = 0.3; t * radius <= radius + 2; t += 0.5 / radius)
                    onFace = onFace && faceLike(face, 150 + (px - 150) * t, 150 + (py - 150) * t);
                if (!onFace && marksOffTheFace++ == 0)
                    firstOff = "at " + std::to_string(deg) + " degrees, window " + std::to_string(p.x) + "," +
                               std::to_string(p.y) + ", picture radius " + std::to_string(radius);
                double edge = radius;
                while (edge < 150 && faceLike(face, 150 + (px - 150) * edge / radius, 150 + (py - 150) * edge / radius))
                    edge += 0.25;
                worstMargin = std::min(worstMargin, edge - radius);
            }
        }
        EXPECT_EQ(marksOffTheFace, 0) << s.instrument << ": scale off the face, first " << firstOff;
        EXPECT_GE(worstMargin, 4.0) << s.instrument << ": the face ends " << worstMargin << " pixels beyond the scale";
        EXPECT_LE(worstMargin, 20.0) << s.instrument << ": the bezel lies " << worstMargin
                                     << " pixels beyond the scale, too far out to frame it";
    }
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
