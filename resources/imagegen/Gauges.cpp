// The three dial pictures, 300 x 300. The program stretches each of them to
// its instrument's client area enlarged by 25 pixels on every side and draws
// the scale itself: yellow dots and numbers with black shadows on the round
// gauge, black dots and numbers with white highlights on the A/F and gas
// bars, both at about 100 to 106 pixels from the centre of the picture.
// So the face carries no scale of its own, and its mid-grey tone keeps both
// kinds of numbers readable. Only the middle of the picture, about 250 of
// its 300 pixels across, is seen in a gauge; the bezel lies inside that.
//
//   GAUGE1  the dial face with its bezel in a dark housing, opaque
//   GAUGE2  the reflection of the glass, drawn over everything with alpha 80
//   GAUGE3  the cap over the needle's pivot and the bezel's shadow, drawn
//           over needle and value text with alpha 255

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "DetMath.h"
#include "Pictures.h"
#include "Shapes.h"

static const int kSize = 300;
static const double kCentre = 150.0;
static const double kBezelOuter = 121.0;
static const double kBezelInner = 110.5;
static const double kFace = 108.0;

// Repeatable grain, 0..1, for the brushed metal.
static double grain(uint32_t n) {
    n ^= n >> 16;
    n *= 0x7feb352dU;
    n ^= n >> 15;
    n *= 0x846ca68bU;
    n ^= n >> 16;
    return (n & 0xFFFFFF) / 16777216.0;
}

static Paint chromeRing() {
    return Paint::conic({kCentre, kCentre}, 0,
                        {{0.00, rgb(138, 144, 152)}, {0.10, rgb(232, 236, 240)}, {0.17, rgb(250, 251, 252)},
                         {0.30, rgb(150, 156, 166)}, {0.45, rgb(88, 94, 104)},   {0.60, rgb(214, 220, 226)},
                         {0.66, rgb(244, 246, 248)}, {0.80, rgb(120, 126, 136)}, {0.92, rgb(96, 102, 110)},
                         {1.00, rgb(138, 144, 152)}});
}

Canvas makeGaugeFace() {
    Canvas c(kSize, kSize);
    // housing: dark, slightly lighter towards the top
    c.fill(rectPath(0, 0, kSize, kSize),
           Paint::custom([](double x, double y) {
               const double t = y / kSize;
               const double base = 0.235 - 0.085 * t;
               const double g = (grain(static_cast<uint32_t>(x) * 7919u + static_cast<uint32_t>(y) * 104729u) - 0.5) * 0.012;
               return Color{base + g, base + 0.012 + g, base + 0.03 + g, 1};
           }));
    // bezel with its shadow on the housing
    c.shadow(circlePath(kCentre, kCentre, kBezelOuter), rgb(0, 0, 0, 0.7), 0, 3, 4);
    c.fill(circlePath(kCentre, kCentre, kBezelOuter), rgb(18, 20, 24));
    c.fill(circlePath(kCentre, kCentre, kBezelOuter - 1.2), chromeRing());
    // a bevel: light on the upper left of the outer edge, dark on the lower right
    c.fill(ringPath(kCentre, kCentre, kBezelOuter - 1.2, kBezelOuter - 3),
           Paint::linear({kCentre - 90, kCentre - 90}, {kCentre + 90, kCentre + 90},
                         {{0, rgb(255, 255, 255, 0.55)}, {0.5, rgb(255, 255, 255, 0)}, {1, rgb(0, 0, 0, 0.35)}}));
    c.fill(ringPath(kCentre, kCentre, kBezelInner + 2, kBezelInner),
           Paint::linear({kCentre - 90, kCentre - 90}, {kCentre + 90, kCentre + 90},
                         {{0, rgb(0, 0, 0, 0.45)}, {0.5, rgb(0, 0, 0, 0.1)}, {1, rgb(255, 255, 255, 0.6)}}));
    // the black lip between bezel and face
    c.fill(circlePath(kCentre, kCentre, kBezelInner), rgb(14, 15, 18));
    // the face: mid-grey metal, brushed in circles, lighter near the middle
    c.fill(circlePath(kCentre, kCentre, kFace), Paint::custom([](double x, double y) {
               const double dx = x - kCentre, dy = y - kCentre + 22;
               const double d = std::sqrt(dx * dx + dy * dy) / 150.0;
               const double light = 0.50 - 0.16 * std::min(1.0, d * d);
               const double ring = std::sqrt((x - kCentre) * (x - kCentre) + (y - kCentre) * (y - kCentre));
               const double brush = (grain(static_cast<uint32_t>(ring * 2.0)) - 0.5) * 0.022 +
                                    (grain(static_cast<uint32_t>(x) * 31u + static_cast<uint32_t>(y) * 1031u) - 0.5) * 0.01;
               const double v = light + brush;
               return Color{v * 0.93, v * 0.98, v * 1.06, 1};
           }));
    // the bezel's shadow falling on the face
    c.fill(ringPath(kCentre, kCentre, kFace, kFace - 14),
           Paint::radial({kCentre, kCentre + 3}, kFace, kFace,
                         {{0.86, rgb(0, 0, 0, 0)}, {0.97, rgb(0, 0, 0, 0.22)}, {1, rgb(0, 0, 0, 0.42)}}));
    // a fine chapter ring just inside the lip, which the scale dots line up under
    c.fill(ringPath(kCentre, kCentre, kFace - 2.6, kFace - 3.6), rgb(200, 206, 214, 0.55));
    return c;
}

Canvas makeGaugeGlass() {
    Canvas c(kSize, kSize);
    // the window light on the upper half of the glass, bounded by the bezel
    Mask glass = rasterize(circlePath(kCentre, kCentre, kBezelInner - 1), kSize, kSize);
    Mask sheen = rasterize(ellipsePath(kCentre - 18, kCentre - 132, 190, 170), kSize, kSize);
    sheen.multiply(glass);
    c.fillMask(sheen, Paint::linear({0, kCentre - kBezelInner}, {0, kCentre + 20},
                                    {{0, rgb(255, 255, 255, 0.95)}, {0.55, rgb(255, 255, 255, 0.45)},
                                     {1, rgb(255, 255, 255, 0.08)}}));
    // a thin bright edge where the glass meets the bezel on the lower right
    Mask rim = rasterize(dialBand(kCentre, kCentre, kBezelInner - 1, kBezelInner - 5, 285, 345), kSize, kSize);
    rim.blur(1);
    c.fillMask(rim, Paint::solid(rgb(255, 255, 255, 0.8)));
    return c;
}

Canvas makeGaugeCover() {
    Canvas c(kSize, kSize);
    // the bezel's shadow reaches over the needle's tip as well
    c.fill(ringPath(kCentre, kCentre, kBezelInner, kFace - 10),
           Paint::radial({kCentre, kCentre + 3}, kFace, kFace,
                         {{0.90, rgb(0, 0, 0, 0)}, {1, rgb(0, 0, 0, 0.25)}}));
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
