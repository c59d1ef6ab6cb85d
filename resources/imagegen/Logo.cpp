// The product logo of the About box and the two small mixture marks of the
// diagram's lambda panel.

#include <cmath>
#include <string>

#include "DetMath.h"
#include "Pictures.h"
#include "StrokeFont.h"

// 109 x 23 dialog units of the About box at 96 dpi with the dialog's 8-point
// font (1.5 and 1.625 pixels per unit); a bitmap static takes its picture's size.
static const int kLogoWidth = 164;
static const int kLogoHeight = 37;

Canvas makeLogo() {
    Canvas c(kLogoWidth, kLogoHeight);
    const double w = kLogoWidth, h = kLogoHeight;
    // deep blue plate, lighter along the top, with a soft light from the left
    c.fill(rectPath(0, 0, w, h), Paint::linear({0, 0}, {0, h}, {{0, rgb(40, 90, 166)}, {0.45, rgb(20, 54, 114)}, {1, rgb(8, 26, 62)}}));
    c.fill(rectPath(0, 0, w, h), Paint::radial({w * 0.3, -6}, w * 0.55, h * 1.1,
                                               {{0, rgb(130, 180, 255, 0.35)}, {1, rgb(130, 180, 255, 0)}}));
    c.fill(rectPath(0, 0, w, 1), rgb(140, 180, 235, 0.8));
    c.fill(rectPath(0, h - 1, w, h), rgb(4, 12, 30));
    // a full-load curve rising under the name, glowing from red to amber
    std::vector<Point> curve;
    for (int i = 0; i <= 60; ++i) {
        const double t = i / 60.0;
        curve.push_back({-2 + (w + 4) * t, h - 3.5 - 7.5 * detSin(t * 2.0) / detSin(2.0 * 0.78)});
    }
    const Paint warm = Paint::linear({0, 0}, {w, 0}, {{0, rgb(255, 40, 20, 0.0)}, {0.25, rgb(255, 60, 30, 0.85)},
                                                        {0.7, rgb(255, 140, 40, 1)}, {1, rgb(255, 200, 80, 1)}});
    c.fill(strokePath(curve, 4.5, Cap::Round), Paint::linear({0, 0}, {w, 0}, {{0, rgb(255, 80, 30, 0)}, {1, rgb(255, 150, 40, 0.3)}}));
    c.fill(strokePath(curve, 1.6, Cap::Round), warm);
    // the name, bold and leaning forward, with a soft shadow
    TextStyle st;
    st.capHeight = 18;
    st.strokeWidth = 3.7;
    st.slant = 0.2;
    st.spacing = 0.17;
    st.cap = Cap::Square;
    const std::string name = "KALTRENOX";
    const double tw = textWidth(name, st) + st.slant * st.capHeight;
    const double x = std::floor((w - tw) / 2);
    const double base = 24;
    const Path text = textPath(name, x, base, st);
    c.shadow(text, rgb(0, 0, 0, 0.7), 1, 2, 1);
    c.fill(text, Paint::linear({0, base - st.capHeight}, {0, base}, {{0, rgb(255, 255, 255)}, {1, rgb(200, 218, 242)}}));
    return c;
}

// 17 x 9, black lines on white: the nozzle (two walls converging to the
// right) and a wide fan-shaped jet (rich) or a thin straight jet (lean).
static Canvas pixelArt(const char* const rows[9]) {
    Canvas c(17, 9);
    c.clear(Color{1, 1, 1, 1});
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 17; ++x)
            if (rows[y][x] == '#') c.setPixel(x, y, Color{0, 0, 0, 1});
    return c;
}

Canvas makeFettBitmap() {
    static const char* const kRows[9] = {
        "#####...........#",
        "######........##.",
        ".....##......#...",
        "......##...##....",
        "..........#######",
        "......##...##....",
        ".....##......#...",
        "######........##.",
        "#####...........#",
    };
    return pixelArt(kRows);
}

Canvas makeMagerBitmap() {
    static const char* const kRows[9] = {
        "#####............",
        "######...........",
        ".....##..........",
        "......##.........",
        "..........#######",
        "......##.........",
        ".....##..........",
        "######...........",
        "#####............",
    };
    return pixelArt(kRows);
}
