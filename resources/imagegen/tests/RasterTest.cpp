#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "DetMath.h"
#include "Raster.h"
#include "Shapes.h"
#include "StrokeFont.h"

namespace {

double maskSum(const Mask& m) {
    double sum = 0;
    for (int y = 0; y < m.height(); ++y)
        for (int x = 0; x < m.width(); ++x) sum += m.at(x, y);
    return sum;
}

TEST(DetMath, SineCosineAndArcTangentMatchTheLibraryClosely) {
    for (int i = -40; i <= 40; ++i) {
        const double x = i * 0.3927;  // about pi/8, so every octant and beyond one turn
        EXPECT_NEAR(detSin(x), std::sin(x), 1e-13) << "x " << x;
        EXPECT_NEAR(detCos(x), std::cos(x), 1e-13) << "x " << x;
    }
    const double points[][2] = {{1, 0},   {0, 1},     {-1, 0},  {0, -1},   {1, 1},     {-1, 1},
                                {-1, -1}, {1, -1},    {3, 0.2}, {-0.2, 3}, {0.01, -5}, {-7, -0.001},
                                {2, 2.5}, {-1e-9, 1}, {5, -5},  {0.3, 0.1}};
    for (const auto& p : points)
        EXPECT_NEAR(detAtan2(p[1], p[0]), std::atan2(p[1], p[0]), 1e-13) << "y " << p[1] << " x " << p[0];
    EXPECT_DOUBLE_EQ(detAtan2(0, -1), kPi);
    EXPECT_DOUBLE_EQ(detAtan2(0, 0), 0.0);
}

TEST(Rasterizer, PixelAlignedRectanglesCoverWholePixelsOnly) {
    const Mask m = rasterize(rectPath(2, 3, 7, 5), 10, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const double expected = (x >= 2 && x < 7 && y >= 3 && y < 5) ? 1.0 : 0.0;
            EXPECT_NEAR(m.at(x, y), expected, 1e-12) << "pixel " << x << "," << y;
        }
}

TEST(Rasterizer, EdgesBetweenPixelsGiveTheCoveredShare) {
    // x from 1.25 to 3.5, y from 0.5 to 2: shares 0.75, 1, 0.5 across, 0.5 and 1 down
    const Mask m = rasterize(rectPath(1.25, 0.5, 3.5, 2), 5, 3);
    const double expected[3][5] = {{0, 0.375, 0.5, 0.25, 0}, {0, 0.75, 1, 0.5, 0}, {0, 0, 0, 0, 0}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_NEAR(m.at(x, y), expected[y][x], 1e-12) << "pixel " << x << "," << y;
}

TEST(Rasterizer, CoveredAreaEqualsTheShapesArea) {
    struct Case {
        const char* name;
        Path path;
        double area;
    };
    const double r = 9.3;
    std::vector<Case> cases;
    cases.push_back({"circle", circlePath(20.4, 19.7, r), kPi * r * r});
    cases.push_back({"ring", ringPath(20, 20, 12, 7), kPi * (144 - 49)});
    cases.push_back({"triangle", polygonPath({{3.3, 2.1}, {35.7, 9.9}, {12.2, 31.6}}),
                     0.5 * std::fabs((35.7 - 3.3) * (31.6 - 2.1) - (12.2 - 3.3) * (9.9 - 2.1))});
    cases.push_back({"rounded rectangle", roundRectPath(4, 5, 30, 21, 4), 26 * 16 - (4 - kPi) * 16});
    cases.push_back({"thick line", linePath({5.5, 7.25}, {33.1, 29.9}, 3.2),
                     3.2 * std::hypot(33.1 - 5.5, 29.9 - 7.25)});
    for (const Case& c : cases) {
        const double area = maskSum(rasterize(c.path, 40, 40));
        EXPECT_NEAR(area, c.area, c.area * 2e-4) << c.name;
    }
}

TEST(Rasterizer, OrientationDoesNotMatterAndHolesCut) {
    const Mask clockwise = rasterize(polygonPath({{1, 1}, {9, 1}, {9, 9}, {1, 9}}), 10, 10);
    const Mask counter = rasterize(polygonPath({{1, 1}, {1, 9}, {9, 9}, {9, 1}}), 10, 10);
    Path holed = polygonPath({{1, 1}, {9, 1}, {9, 9}, {1, 9}});
    holed.addHole({{3, 3}, {3, 7}, {7, 7}, {7, 3}});
    const Mask ring = rasterize(holed, 10, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            EXPECT_EQ(clockwise.at(x, y), counter.at(x, y)) << "pixel " << x << "," << y;
            const bool inHole = x >= 3 && x < 7 && y >= 3 && y < 7;
            EXPECT_NEAR(ring.at(x, y), inHole ? 0.0 : clockwise.at(x, y), 1e-12) << "pixel " << x << "," << y;
        }
}

TEST(Rasterizer, ShapesReachingPastTheCanvasKeepTheirVisiblePart) {
    struct Case {
        const char* name;
        Path path;
    };
    const Case cases[] = {
        {"left", rectPath(-10, 2, 3, 4)},
        {"right", rectPath(7, 2, 40, 4)},
        {"slanted across both sides", polygonPath({{-20, 2}, {30, 2}, {31, 4}, {-19, 4}})},
    };
    for (const Case& c : cases) {
        const Mask m = rasterize(c.path, 10, 6);
        for (int x = 0; x < 10; ++x) {
            const double inside = m.at(x, 3);
            const bool expectInside = std::string(c.name) == "left" ? x < 3 : std::string(c.name) == "right" ? x >= 7 : true;
            EXPECT_NEAR(inside, expectInside ? 1.0 : 0.0, 1e-9) << c.name << " x " << x;
            EXPECT_NEAR(m.at(x, 0), 0.0, 1e-12) << c.name << " x " << x;
        }
    }
    // a circle much larger than the canvas covers all of it
    const Mask big = rasterize(circlePath(5, 5, 500), 10, 10);
    EXPECT_NEAR(maskSum(big), 100.0, 1e-6);
}

TEST(Strokes, OnePixelLinesOnPixelCentresAreCrisp) {
    const Mask h = rasterize(linePath({2, 4.5}, {8, 4.5}, 1), 10, 10);
    const Mask v = rasterize(linePath({3.5, 1}, {3.5, 9}, 1), 10, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            EXPECT_NEAR(h.at(x, y), (y == 4 && x >= 2 && x < 8) ? 1.0 : 0.0, 1e-12) << x << "," << y;
            EXPECT_NEAR(v.at(x, y), (x == 3 && y >= 1 && y < 9) ? 1.0 : 0.0, 1e-12) << x << "," << y;
        }
}

TEST(Strokes, BentLinesNeverLeaveHolesAtTheirJoins) {
    // sharp zig-zag: every point on the centre line must be fully covered
    const std::vector<Point> zigzag{{3, 30}, {10, 4}, {17, 30}, {24, 4}, {31, 30}, {31.5, 5}};
    const Mask m = rasterize(strokePath(zigzag, 4, Cap::Round), 40, 40);
    for (size_t i = 0; i + 1 < zigzag.size(); ++i)
        for (int s = 0; s <= 20; ++s) {
            const double t = s / 20.0;
            const int x = static_cast<int>(zigzag[i].x + (zigzag[i + 1].x - zigzag[i].x) * t);
            const int y = static_cast<int>(zigzag[i].y + (zigzag[i + 1].y - zigzag[i].y) * t);
            EXPECT_GT(m.at(x, y), 0.99) << "segment " << i << " at " << x << "," << y;
        }
    // round caps add half a disc at each end
    const double area = maskSum(rasterize(linePath({10, 10}, {30, 10}, 6, Cap::Round), 40, 20));
    EXPECT_NEAR(area, 20 * 6 + kPi * 9, 0.05);
}

TEST(Canvas, SourceOverKeepsPremultipliedAlpha) {
    Canvas c(4, 1);
    c.fill(rectPath(0, 0, 2, 1), rgb(255, 0, 0, 0.5));
    c.fill(rectPath(1, 0, 3, 1), rgb(0, 0, 255, 0.5));
    const Rgba8 redOnly = c.premultiplied8(0, 0), both = c.premultiplied8(1, 0), blueOnly = c.straight8(2, 0);
    EXPECT_EQ(redOnly.a, 128);
    EXPECT_EQ(redOnly.r, 128);
    EXPECT_EQ(both.a, 191);  // 1 - 0.5 * 0.5
    EXPECT_EQ(both.r, 64);
    EXPECT_EQ(both.b, 128);
    EXPECT_EQ(blueOnly.b, 255);
    EXPECT_EQ(blueOnly.a, 128);
    EXPECT_EQ(c.straight8(3, 0).a, 0);
    c.erase(rectPath(0, 0, 1, 1));
    EXPECT_EQ(c.premultiplied8(0, 0).a, 0);
}

TEST(StrokeFont, EveryLetterTheSheetAndTheLogoUseHasAGlyph) {
    for (const char* text : {"KALTRENOX", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "0123456789", "km/h", "U/min", "A/F", "Gas",
                             "MESSWERT-ERFASSUNG", "\u03bb"})
        EXPECT_TRUE(hasGlyphs(text)) << text;
    EXPECT_FALSE(hasGlyphs("\u00e4"));
    TextStyle st;
    EXPECT_LT(textWidth("1", st), textWidth("11", st));
    EXPECT_EQ(textWidth("", st), 0.0);
    // text lands between its baseline and its cap height
    const Mask m = rasterize(textPath("H", 2, 14, st), 20, 20);
    double above = 0, inside = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) (y < 3 || y > 15 ? above : inside) += m.at(x, y);
    EXPECT_EQ(above, 0.0);
    EXPECT_GT(inside, 20.0);
}

}  // namespace
