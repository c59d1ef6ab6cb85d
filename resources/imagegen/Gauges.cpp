// The three dial pictures, 300 x 300. The program stretches each of them to
// its instrument's client area enlarged by 25 pixels on every side, so only
// the middle of the picture, about 252 of its 300 pixels across, is seen in
// a gauge: the round gauges show a circle of radius about 126 around the
// centre, the A/F and gas bars the upper or lower half of one of about 123.
// The program draws the scale itself: yellow dots and numbers with black
// shadows on the round gauge, black dots and numbers with white highlights
// on the bars, reaching out to about 110 pixels from the centre of the
// picture. So the face carries no scale of its own, its mid-grey tone keeps
// both kinds of numbers readable, and it reaches well beyond the scale
// (to 119.5) before a thin chrome bezel closes it just inside the edge of
// what is seen (120.5 to 125). Outside the bezel lies the flat dark panel
// the instruments are set in, the same on every instrument, so that gauges
// side by side join without a seam.
//
//   GAUGE1  the panel, the bezel and the dial face, opaque
//   GAUGE2  the reflection of the glass, drawn over everything with alpha 80
//   GAUGE3  the cap over the needle's pivot and the bezel's shadow, drawn
//           over needle and value text with alpha 255

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "DetMath.h"
#include "Pictures.h"
#include "Shapes.h"

static const int kSize = 300;
static const double kCentre = 150.0;
static const double kBezelOuter = 125.0;  // the chrome ring's outer edge
static const double kBezelInner = 120.5;  // its inner edge
static const double kFace = 119.5;        // the face; a black lip lies between
static const Color kPanel = rgb(44, 47, 53);

// Repeatable grain, 0..1, for the brushed metal.
static double grain(uint32_t n) {
    n ^= n >> 16;
    n *= 0x7feb352dU;
    n ^= n >> 15;
    n *= 0x846ca68bU;
    n ^= n >> 16;
    return (n & 0xFFFFFF) / 16777216.0;
}

// Polished chrome mirrors the room: two bright windows, on the upper left
// and the lower right, darker wall between them.
static Paint chromeRing() {
    return Paint::conic({kCentre, kCentre}, 0,
                        {{0.00, rgb(128, 134, 142)}, {0.08, rgb(206, 212, 218)}, {0.14, rgb(248, 249, 250)},
                         {0.20, rgb(196, 202, 210)}, {0.33, rgb(104, 110, 120)}, {0.45, rgb(78, 84, 94)},
                         {0.56, rgb(186, 192, 200)}, {0.625, rgb(252, 253, 254)}, {0.69, rgb(214, 220, 226)},
                         {0.80, rgb(118, 124, 134)}, {0.92, rgb(90, 96, 104)}, {1.00, rgb(128, 134, 142)}});
}

static Paint lightFromUpperLeft(double reach, std::vector<ColorStop> stops) {
    return Paint::linear({kCentre - reach, kCentre - reach}, {kCentre + reach, kCentre + reach}, std::move(stops));
}

Canvas makeGaugeFace() {
    Canvas c(kSize, kSize);
    // the panel the instrument is set in
    c.fill(rectPath(0, 0, kSize, kSize), kPanel);
    // the bezel's shadow on the panel, a little below it
    c.shadow(circlePath(kCentre, kCentre, kBezelOuter), rgb(0, 0, 0, 0.75), 0, 2, 3);
    // the bezel: a dark outer edge, the chrome, its rounded profile lit from
    // the upper left
    c.fill(circlePath(kCentre, kCentre, kBezelOuter), rgb(20, 22, 26));
    c.fill(circlePath(kCentre, kCentre, kBezelOuter - 0.7), chromeRing());
    c.fill(ringPath(kCentre, kCentre, kBezelOuter - 0.7, kBezelOuter - 2.0),
           lightFromUpperLeft(100, {{0, rgb(255, 255, 255, 0.6)}, {0.5, rgb(255, 255, 255, 0.05)},
                                    {1, rgb(0, 0, 0, 0.35)}}));
    c.fill(ringPath(kCentre, kCentre, kBezelInner + 1.4, kBezelInner),
           lightFromUpperLeft(100, {{0, rgb(0, 0, 0, 0.4)}, {0.5, rgb(0, 0, 0, 0.12)},
                                    {1, rgb(255, 255, 255, 0.55)}}));
    // the black lip between bezel and face
    c.fill(circlePath(kCentre, kCentre, kBezelInner), rgb(14, 15, 18));
    // the face: mid-grey metal, brushed in circles, a little lighter near
    // the middle and towards the top, but nearly even out to the rim, where
    // the scale lies
    c.fill(circlePath(kCentre, kCentre, kFace), Paint::custom([](double x, double y) {
               const double dx = x - kCentre, dy = y - kCentre + 8;
               const double d = std::sqrt(dx * dx + dy * dy) / 150.0;
               const double light = 0.48 - 0.07 * std::min(1.0, d * d);
               const double ring = std::sqrt((x - kCentre) * (x - kCentre) + (y - kCentre) * (y - kCentre));
               const double brush = (grain(static_cast<uint32_t>(ring * 2.0)) - 0.5) * 0.022 +
                                    (grain(static_cast<uint32_t>(x) * 31u + static_cast<uint32_t>(y) * 1031u) - 0.5) * 0.01;
               const double v = light + brush;
               return Color{v * 0.93, v * 0.98, v * 1.06, 1};
           }));
    // the bezel's shadow falling on the rim of the face outside the scale,
    // deeper at the top
    c.fill(ringPath(kCentre, kCentre, kFace, kFace - 6),
           Paint::radial({kCentre, kCentre + 2}, kFace + 2, kFace + 2,
                         {{0.93, rgb(0, 0, 0, 0)}, {0.97, rgb(0, 0, 0, 0.2)}, {1, rgb(0, 0, 0, 0.5)}}));
    return c;
}

Canvas makeGaugeGlass() {
    Canvas c(kSize, kSize);
    // the window light on the upper half of the glass, bounded by the bezel
    Mask glass = rasterize(circlePath(kCentre, kCentre, kFace), kSize, kSize);
    Mask sheen = rasterize(ellipsePath(kCentre - 20, kCentre - 144, 207, 185), kSize, kSize);
    sheen.multiply(glass);
    c.fillMask(sheen, Paint::linear({0, kCentre - kFace}, {0, kCentre + 25},
                                    {{0, rgb(255, 255, 255, 0.95)}, {0.55, rgb(255, 255, 255, 0.45)},
                                     {1, rgb(255, 255, 255, 0.08)}}));
    // a thin bright edge where the glass meets the bezel on the lower right
    Mask rim = rasterize(dialBand(kCentre, kCentre, kFace, kFace - 3.5, 285, 345), kSize, kSize);
    rim.blur(1);
    c.fillMask(rim, Paint::solid(rgb(255, 255, 255, 0.8)));
    return c;
}

Canvas makeGaugeCover() {
    Canvas c(kSize, kSize);
    // the bezel's shadow on the rim of the face, over whatever the
    // instrument draws there
    c.fill(ringPath(kCentre, kCentre, kFace, kFace - 5),
           Paint::radial({kCentre, kCentre + 2}, kFace, kFace,
                         {{0.955, rgb(0, 0, 0, 0)}, {1, rgb(0, 0, 0, 0.25)}}));
    // the cap over the needle's pivot
    const double r = 15.5;
    c.shadow(circlePath(kCentre, kCentre, r), rgb(0, 0, 0, 0.6), 2, 3, 3);
    c.fill(circlePath(kCentre, kCentre, r), rgb(16, 17, 20));
    c.fill(circlePath(kCentre, kCentre, r - 1.2),
           Paint::linear({kCentre - r, kCentre - r}, {kCentre + r, kCentre + r},
                         {{0, rgb(200, 205, 212)}, {0.45, rgb(96, 100, 108)}, {1, rgb(34, 36, 40)}}));
    c.fill(circlePath(kCentre, kCentre, r - 4.5),
           Paint::radial({kCentre - 3, kCentre - 4}, r, r,
                         {{0, rgb(150, 155, 164)}, {0.6, rgb(62, 66, 72)}, {1, rgb(30, 32, 36)}}));
    c.fill(ellipsePath(kCentre - 4, kCentre - 5.5, 5, 2.6), rgb(255, 255, 255, 0.45));
    return c;
}
