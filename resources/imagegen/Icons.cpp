// The icons: program and diagram window, the ten tool-bar buttons, the
// mixture marks and the signal lamps. All on the 32-unit grid of IconKit.

#include <algorithm>
#include <cmath>

#include "DetMath.h"
#include "IconKit.h"
#include "Pictures.h"
#include "StrokeFont.h"

// ---- shared parts ----

// A sheet of paper with a folded upper right corner.
static void drawPage(const Icon& k, double x0, double y0, double x1, double y1, double fold) {
    const double l = k.snap(x0), t = k.snap(y0), r = k.snap(x1), b = k.snap(y1);
    const double f = std::max(2.0, k.snap(fold));
    k.outlined({{l, t}, {r - f, t}, {r, t + f}, {r, b}, {l, b}}, Palette::paperLine(),
               k.vertical(y0, y1, Palette::paperTop(), Palette::paperBottom()));
    k.outlined({{r - f, t}, {r - f, t + f}, {r, t + f}}, Palette::paperLine(),
               Paint::linear({r - f, t + f}, {r, t}, {{0, rgb(214, 221, 232)}, {1, rgb(250, 251, 253)}}));
}

// Lines of text on a page (units): one-pixel lines every `pitch` from y0, every third one shorter.
static void drawTextLines(const Icon& k, double x0, double x1, double y0, double pitch, int count,
                          Color color = rgb(160, 172, 190)) {
    const double thick = k.small() ? 1 : std::floor(k.s);
    for (int i = 0; i < count; ++i) {
        const double y = k.snap(y0 + i * pitch);
        const double right = k.snap(i % 3 == 2 ? x1 - (x1 - x0) * 0.35 : x1);
        k.c.fill(rectPath(k.snap(x0), y, right, y + thick), color);
    }
}

// A small curve like the diagram's power curve, in units.
static std::vector<Point> powerCurve(const Icon& k, double x0, double y0, double x1, double y1) {
    std::vector<Point> pts;
    for (int i = 0; i <= 16; ++i) {
        const double t = i / 16.0;
        // rises, flattens and drops a little, as a full-load curve does
        const double v = detSin(t * 2.2) / detSin(2.2 * 0.71);
        pts.push_back(k.p(x0 + (x1 - x0) * t, y0 + (y1 - y0) * std::min(1.0, v)));
    }
    return pts;
}

// A magnifying glass: lens centre and radius, handle towards the lower right.
static void drawMagnifier(const Icon& k, double cx, double cy, double r, double handleLength) {
    if (k.small()) {
        // in pixels: a one-pixel rim, light glass and a two-pixel handle
        const double px = std::floor(k.u(cx)) + 0.5, py = std::floor(k.u(cy)) + 0.5, pr = std::round(k.u(r));
        const double d = (pr - 0.5) * std::sqrt(0.5);
        const double end = d + k.u(handleLength) * std::sqrt(0.5);
        k.c.fill(strokePath({{px + d, py + d}, {px + end, py + end}}, 2.4, Cap::Round), rgb(52, 58, 68));
        k.c.fill(circlePath(px, py, pr), Palette::ink());
        k.c.fill(circlePath(px, py, pr - 1),
                 Paint::radial({px - 1, py - 1}, pr, pr, {{0, rgb(255, 255, 255)}, {1, rgb(170, 210, 240)}}));
        return;
    }
    const double rim = k.pick(1, 2, 3);
    const double px = k.u(cx), py = k.u(cy), pr = k.u(r);
    const double diag = std::sqrt(0.5);
    const Point h0{px + (pr - rim / 2) * diag, py + (pr - rim / 2) * diag};
    const Point h1{px + (pr + k.u(handleLength)) * diag, py + (pr + k.u(handleLength)) * diag};
    const double handleWidth = k.pick(2.4, 4.5, 6.5);
    k.c.fill(strokePath({h0, h1}, handleWidth + 2, Cap::Round), Palette::ink());
    k.c.fill(strokePath({h0, h1}, handleWidth, Cap::Round),
             Paint::linear({h0.x + handleWidth, h0.y - handleWidth}, {h0.x - handleWidth, h0.y + handleWidth},
                           {{0, rgb(122, 128, 138)}, {0.45, rgb(70, 76, 86)}, {1, rgb(30, 34, 40)}}));
    k.c.fill(circlePath(px, py, pr + 1), Palette::ink());
    k.c.fill(circlePath(px, py, pr),
             Paint::linear({px - pr, py - pr}, {px + pr, py + pr},
                           {{0, Palette::steelLight()}, {1, Palette::steel()}}));
    k.c.fill(circlePath(px, py, pr - rim), Palette::ink());
    k.c.fill(circlePath(px, py, pr - rim - 1),
             Paint::radial({px - pr * 0.35, py - pr * 0.35}, pr * 1.3, pr * 1.3,
                           {{0, rgb(255, 255, 255, 0.92)}, {1, rgb(150, 200, 240, 0.80)}}));
    if (!k.small()) {
        auto glint = arcPoints(px, py, pr - rim - k.pick(2, 2.5, 3.5), pr - rim - k.pick(2, 2.5, 3.5), 200, 250);
        k.c.fill(strokePath(glint, k.pick(1, 1.5, 2), Cap::Round), rgb(255, 255, 255, 0.95));
    }
}

// Clears a disc so that a badge stands free of what lies under it.
static void cutDisc(const Icon& k, double cx, double cy, double r) { k.c.erase(circlePath(k.u(cx), k.u(cy), r)); }

// ---- program and diagram window ----

void drawMainIcon(Canvas& c) {
    const Icon k(c);
    const double cx = c.width() / 2.0, cy = cx, R = cx - (k.small() ? 0 : k.u(0.5));
    const double bezel = k.pick(1, 3, 4.5);
    c.fill(circlePath(cx, cy, R), rgb(34, 38, 44));
    if (k.small()) {
        c.fill(circlePath(cx, cy, R - 1), rgb(170, 176, 186));
    } else {
        c.fill(circlePath(cx, cy, R - 1),
               Paint::conic({cx, cy}, 0,
                            {{0, rgb(150, 156, 164)}, {0.13, rgb(248, 250, 252)}, {0.30, rgb(170, 176, 186)},
                             {0.5, rgb(96, 102, 112)}, {0.63, rgb(236, 240, 244)}, {0.82, rgb(118, 124, 134)},
                             {1, rgb(150, 156, 164)}}));
    }
    const double face = k.small() ? R - 1.5 : R - 1 - bezel;
    if (!k.small()) c.fill(circlePath(cx, cy, face + 1), rgb(20, 22, 26));
    c.fill(circlePath(cx, cy, face),
           Paint::radial({cx, cy - face * 0.3}, face * 1.3, face * 1.3,
                         {{0, rgb(70, 78, 90)}, {1, rgb(18, 20, 24)}}));
    // red zone and scale marks
    const double outer = face - k.pick(0.5, 1.5, 2);
    const double zoneWidth = k.pick(1.6, 2.5, 3.5);
    c.fill(dialBand(cx, cy, outer, outer - zoneWidth, 258, 315), rgb(236, 52, 36));
    if (!k.small()) {
        for (int i = 0; i < 9; ++i) {
            const double a = 45 + 270.0 * i / 8;
            const double len = k.pick(2, 3.5, 5) * (i % 2 == 0 ? 1.0 : 0.6);
            c.fill(linePath(dialPoint(cx, cy, outer, a), dialPoint(cx, cy, outer - len, a), k.pick(1, 1.5, 2)),
                   rgb(240, 242, 246));
        }
    } else {
        for (double a : {45.0, 135.0, 225.0})
            c.fill(linePath(dialPoint(cx, cy, outer, a), dialPoint(cx, cy, outer - 1.8, a), 1.1), rgb(240, 242, 246));
    }
    // needle towards the upper right, hub over it
    const double needleAngle = 236;
    const Point tip = dialPoint(cx, cy, outer - k.pick(0.2, 1, 1.5), needleAngle);
    const Point tail = dialPoint(cx, cy, k.pick(0.5, 3, 4.5), needleAngle + 180);
    c.fill(strokePath({tail, tip}, k.pick(1.6, 2.4, 3.4), Cap::Round), rgb(255, 86, 30));
    const double hub = k.pick(1.6, 3, 4.5);
    c.fill(circlePath(cx, cy, hub), rgb(20, 22, 26));
    if (!k.small())
        c.fill(circlePath(cx, cy, hub - 1),
               Paint::radial({cx - hub * 0.4, cy - hub * 0.4}, hub * 1.4, hub * 1.4,
                             {{0, rgb(190, 196, 204)}, {1, rgb(60, 64, 72)}}));
    // glass
    c.fill(ellipsePath(cx, cy - face * 0.45, face * 0.8, face * 0.45),
           Paint::linear({0, cy - face}, {0, cy}, {{0, rgb(255, 255, 255, 0.25)}, {1, rgb(255, 255, 255, 0)}}));
}

void drawXyIcon(Canvas& c) {
    const Icon k(c);
    k.outlinedRect(1, 3, 31, 29, 1.5, Palette::paperLine(), k.vertical(3, 29, rgb(255, 255, 255), rgb(240, 244, 250)));
    const double l = k.snap(1) + 1, r = k.snap(31) - 1, t = k.snap(3) + 1, b = k.snap(29) - 1;
    // plot area, grid and axes
    const double ax = l + k.pick(2, 4, 6), ay = b - k.pick(2, 4, 6);
    if (!k.small()) {
        for (int i = 1; i <= 3; ++i) {
            const double gx = std::floor(ax + (r - 2 - ax) * i / 3.0);
            c.fill(rectPath(gx, t + 2, gx + 1, ay), rgb(214, 222, 234));
            const double gy = std::floor(ay - (ay - t - 2) * i / 3.0);
            c.fill(rectPath(ax, gy, r - 2, gy + 1), rgb(214, 222, 234));
        }
    }
    c.fill(rectPath(ax - 1, t + 1, ax, ay + 1), Palette::ink());
    c.fill(rectPath(ax - 1, ay, r - 1, ay + 1), Palette::ink());
    // torque in blue, power in red
    const double w = k.pick(1.5, 1.8, 2.6);
    std::vector<Point> torque, power;
    for (int i = 0; i <= 24; ++i) {
        const double t01 = i / 24.0;
        const double x = ax + 1 + (r - 3 - ax) * t01;
        const double h = ay - t - 3;
        torque.push_back({x, ay - h * (0.42 + 0.26 * detSin(t01 * 3.0))});
        power.push_back({x, ay - h * (0.06 + 0.86 * detSin(t01 * 2.2) / detSin(1.55))});
    }
    c.fill(strokePath(torque, w, Cap::Round), Palette::blue());
    c.fill(strokePath(power, w, Cap::Round), Palette::red());
}

// A measurement file as Explorer shows it: a sheet with a headline, axes and
// the power and torque curves of a run.
void drawMeasurementFileIcon(Canvas& c) {
    const Icon k(c);
    drawPage(k, 4, 1, 28, 31, 7);
    const double l = k.snap(4), t = k.snap(1);
    c.fill(rectPath(l + k.pick(2, 3, 5), t + k.pick(3, 4, 6), l + k.pick(8, 12, 18), t + k.pick(4, 6, 9)),
           Palette::blueDark());
    const double ax = k.snap(7), ay = k.snap(27), right = k.snap(25), top = k.snap(10);
    c.fill(rectPath(ax, top, ax + 1, ay), Palette::ink());
    c.fill(rectPath(ax, ay - 1, right, ay), Palette::ink());
    const double w = k.pick(1.2, 1.5, 2.2);
    if (!k.small()) {
        std::vector<Point> torque;
        for (int i = 0; i <= 16; ++i) {
            const double t01 = i / 16.0;
            torque.push_back(k.p(8.5 + 15.5 * t01, 25 - 9 * (0.45 + 0.3 * detSin(t01 * 3.0))));
        }
        c.fill(strokePath(torque, w, Cap::Round), Palette::blue());
    }
    c.fill(strokePath(powerCurve(k, 8.5, 25, 24, 12), w, Cap::Round), Palette::red());
}

// ---- tool bar ----

void drawFileOpenIcon(Canvas& c) {
    const Icon k(c);
    // back of the folder with its tab
    k.outlined(k.sps({{1, 6}, {11, 6}, {13, 9}, {27, 9}, {27, 28}, {1, 28}}), Palette::amberDark(),
               k.vertical(6, 28, rgb(236, 180, 66), rgb(206, 144, 38)));
    // a measurement sheet in it
    k.outlinedRect(5, 3, 24, 22, 0, Palette::paperLine(), k.vertical(3, 22, Palette::paperTop(), Palette::paperBottom()));
    if (k.small()) {
        c.fill(rectPath(k.snap(5) + 2, k.snap(3) + 2, k.snap(24) - 2, k.snap(3) + 3), rgb(160, 172, 190));
    } else {
        c.fill(strokePath(powerCurve(k, 8, 17, 21, 7), k.pick(1, 1.5, 2), Cap::Round), Palette::red());
    }
    // front flap, opened towards the viewer
    k.outlined(k.sps({{1, 28}, {6, 14}, {31, 14}, {26, 28}}), Palette::amberDark(),
               k.vertical(14, 28, rgb(255, 226, 140), rgb(242, 184, 62)));
    if (!k.small()) c.fill(polygonPath(k.sps({{6.5, 15}, {30, 15}, {29.6, 16}, {6.1, 16}})), rgb(255, 243, 200));
}

void drawFileAddIcon(Canvas& c) {
    const Icon k(c);
    drawPage(k, 4, 1, 24, 30, 7);
    if (k.small()) {
        drawTextLines(k, 7, 14, 8, 4, 2);
    } else {
        drawTextLines(k, 7, 15, 7, 3, 2);
        c.fill(strokePath(powerCurve(k, 7, 23, 20, 14), k.pick(1, 1.5, 2), Cap::Round), Palette::red());
    }
    // green plus badge
    // the badge's centre on a pixel centre at 16 px and on a pixel corner above,
    // so that the bars of the plus cover whole pixels
    const double bx = k.pick(23, 23, 23.33), by = bx;
    const double r = k.pick(4.5, 7.5, 11.5) / k.s;  // in units
    cutDisc(k, bx, by, k.u(r) + k.pick(1, 1.5, 2));
    k.outlinedCircle(bx, by, r, Palette::greenDark(),
                     Paint::radial(k.p(bx - r * 0.4, by - r * 0.5), k.u(r) * 1.6, k.u(r) * 1.6,
                                   {{0, rgb(128, 214, 112)}, {1, rgb(44, 146, 48)}}));
    const double arm = k.pick(2.5, 4.5, 6.5), bar = k.pick(1, 2, 3);
    const double cx = k.u(bx), cy = k.u(by);
    c.fill(rectPath(cx - arm, cy - bar / 2, cx + arm, cy + bar / 2), rgb(255, 255, 255));
    c.fill(rectPath(cx - bar / 2, cy - arm, cx + bar / 2, cy + arm), rgb(255, 255, 255));
}

void drawFilePrintIcon(Canvas& c) {
    const Icon k(c);
    // paper waiting at the back
    k.outlinedRect(8, 1, 24, 14, 0, Palette::paperLine(), Paint::solid(Palette::paperTop()));
    // body
    k.outlinedRect(1, 11, 31, 25, 2.5, Palette::steelDark(), k.vertical(11, 25, rgb(236, 239, 243), rgb(160, 168, 180)));
    // output slot and the printed diagram coming out
    const double slotTop = k.snap(19), slotBottom = slotTop + k.pick(2, 3, 4);
    c.fill(rectPath(k.snap(5), slotTop, k.snap(27), slotBottom), Palette::ink());
    k.outlinedRect(7, 21, 25, 31, 0, Palette::paperLine(), k.vertical(21, 31, Palette::paperTop(), Palette::paperBottom()));
    if (!k.small()) c.fill(strokePath(powerCurve(k, 9.5, 29, 22.5, 24), k.pick(1, 1.5, 2), Cap::Round), Palette::red());
    else c.fill(rectPath(k.snap(7) + 2, k.snap(21) + 3, k.snap(25) - 2, k.snap(21) + 4), Palette::red());
    // ready lamp
    const double lx = k.snap(26.5), ly = k.snap(14.5);
    const double lr = k.pick(1, 1.5, 2);
    c.fill(rectPath(lx - lr, ly - lr / 2, lx + lr, ly + lr / 2 + (k.small() ? 0.5 : 0)), rgb(60, 200, 70));
}

// A small round instrument with a light face.
static void drawLightGauge(const Icon& k, double cxu, double cyu, double ru, double needleAngle) {
    Canvas& c = k.c;
    const double cx = k.u(cxu), cy = k.u(cyu), R = k.u(ru);
    const double bezel = k.pick(0, 2, 3);
    c.fill(circlePath(cx, cy, R), Palette::steelDark());
    c.fill(circlePath(cx, cy, R - 1),
           Paint::linear({cx - R, cy - R}, {cx + R, cy + R}, {{0, rgb(250, 251, 252)}, {1, rgb(128, 136, 148)}}));
    const double face = R - 1 - bezel;
    c.fill(circlePath(cx, cy, face),
           Paint::radial({cx, cy - face * 0.4}, face * 1.5, face * 1.5, {{0, rgb(255, 255, 255)}, {1, rgb(222, 228, 236)}}));
    const double outer = face - k.pick(0.5, 1.5, 2);
    c.fill(dialBand(cx, cy, outer, outer - k.pick(1.5, 2.5, 3.5), 255, 315), Palette::red());
    if (!k.small()) {
        for (int i = 0; i < 7; ++i) {
            const double a = 45 + 270.0 * i / 6;
            c.fill(linePath(dialPoint(cx, cy, outer, a), dialPoint(cx, cy, outer - k.pick(2, 3, 4.5), a), k.pick(1, 1.2, 1.8)),
                   Palette::ink());
        }
    }
    const Point tip = dialPoint(cx, cy, outer - k.pick(0.5, 1, 1.5), needleAngle);
    c.fill(strokePath({{cx, cy}, tip}, k.pick(1.2, 1.8, 2.6), Cap::Round), Palette::red());
    c.fill(circlePath(cx, cy, k.pick(1.5, 2.5, 3.5)), Palette::ink());
}

void drawStartMsIcon(Canvas& c) {
    const Icon k(c);
    if (k.small()) drawLightGauge(k, 13.0, 13.0, 13.0, 225);
    else drawLightGauge(k, 14, 14, 13.5, 225);
    // record badge
    const double bx = k.pick(23, 23.5, 23.67), by = bx;  // whole or half pixels, as the plus badge
    const double r = k.pick(4.5, 7.5, 11) / k.s;
    cutDisc(k, bx, by, k.u(r) + k.pick(1, 1.5, 2));
    k.outlinedCircle(bx, by, r, Palette::redDark(),
                     Paint::radial(k.p(bx - r * 0.35, by - r * 0.45), k.u(r) * 1.5, k.u(r) * 1.5,
                                   {{0, rgb(255, 140, 120)}, {0.55, rgb(230, 44, 30)}, {1, rgb(176, 20, 12)}}));
    if (!k.small())
        c.fill(ellipsePath(k.u(bx - r * 0.3), k.u(by - r * 0.45), k.u(r) * 0.42, k.u(r) * 0.24),
               rgb(255, 255, 255, 0.6));
}

void drawConfigIcon(Canvas& c) {
    const Icon k(c);
    const double cx = k.u(16), cy = k.u(16);
    const double R = k.u(15), root = k.u(k.small() ? 11.5 : 11.8);
    const int teeth = 8;
    std::vector<Point> pts;
    for (int i = 0; i < teeth; ++i) {
        const double a = 360.0 * i / teeth + 22.5;
        auto at = [&](double r, double deg) {
            const double rad = detRadians(deg);
            return Point{cx + detCos(rad) * r, cy + detSin(rad) * r};
        };
        pts.push_back(at(root, a - 13));
        pts.push_back(at(R, a - 8));
        pts.push_back(at(R, a + 8));
        pts.push_back(at(root, a + 13));
        auto arc = arcPoints(cx, cy, root, root, a + 13, a + 45 - 13);
        pts.insert(pts.end(), arc.begin() + 1, arc.end() - 1);
    }
    k.outlinedPath(polygonPath(pts), Palette::steelDark(),
                   Paint::linear({cx - R, cy - R}, {cx + R, cy + R},
                                 {{0, rgb(236, 239, 243)}, {0.55, rgb(170, 178, 190)}, {1, rgb(112, 120, 134)}}));
    // raised hub ring and the bore
    const double hub = k.u(7.5);
    if (!k.small()) {
        c.fill(ringPath(cx, cy, hub + 1, hub), rgb(96, 104, 118, 0.7));
        c.fill(ringPath(cx, cy, hub, hub - 1), rgb(255, 255, 255, 0.6));
    }
    const double bore = k.u(k.small() ? 4 : 4.2);
    c.fill(circlePath(cx, cy, bore + 1), Palette::steelDark());
    c.erase(circlePath(cx, cy, bore));
}

void drawZoomAllIcon(Canvas& c) {
    const Icon k(c);
    // corner marks of the full extent
    const double w = k.pick(1, 2, 3), arm = k.pick(5, 9, 13), m = k.pick(0, 1, 1);
    const double n = c.width();
    const Color blue = Palette::blue();
    for (int corner = 0; corner < 4; ++corner) {
        const bool right = corner & 1, bottom = corner & 2;
        const double x = right ? n - m - w : m, y = bottom ? n - m - w : m;
        const double hx0 = right ? n - m - arm : m, vy0 = bottom ? n - m - arm : m;
        c.fill(rectPath(hx0, y, hx0 + arm, y + w), blue);
        c.fill(rectPath(x, vy0, x + w, vy0 + arm), blue);
    }
    drawMagnifier(k, 14, 14, k.small() ? 6 : 7.5, k.small() ? 6.5 : 6);
}

void drawViewPageIcon(Canvas& c) {
    const Icon k(c);
    drawPage(k, 3, 1, 23, 30, 6);
    // headline and a small diagram on the page
    const double l = k.snap(3), t = k.snap(1);
    c.fill(rectPath(l + k.pick(2, 3, 5), t + k.pick(3, 5, 7), l + k.pick(7, 13, 19), t + k.pick(4, 7, 10)), Palette::blueDark());
    if (!k.small()) {
        c.fill(rectPath(k.snap(6), k.snap(11), k.snap(6) + 1, k.snap(26)), Palette::ink());
        c.fill(rectPath(k.snap(6), k.snap(26) - 1, k.snap(19), k.snap(26)), Palette::ink());
        c.fill(strokePath(powerCurve(k, 7.5, 24, 18, 14), k.pick(1, 1.3, 1.8), Cap::Round), Palette::red());
    } else {
        drawTextLines(k, 5, 13, 12, 4, 3);
    }
    drawMagnifier(k, 21, 20, k.small() ? 6 : 7, k.small() ? 5 : 5.5);
}

// A barometer: round, light face, blue scale band, dark needle.
static void drawBarometer(const Icon& k, double cx, double cy, double R) {
    Canvas& c = k.c;
    c.fill(circlePath(cx, cy, R), Palette::steelDark());
    if (!k.small())
        c.fill(circlePath(cx, cy, R - 1),
               Paint::linear({cx - R, cy - R}, {cx + R, cy + R}, {{0, rgb(250, 251, 252)}, {1, rgb(128, 136, 148)}}));
    const double face = R - 1 - k.pick(0, 1.5, 2.5);
    c.fill(circlePath(cx, cy, face), Paint::radial({cx, cy - face * 0.4}, face * 1.5, face * 1.5,
                                                   {{0, rgb(255, 255, 255)}, {1, rgb(220, 226, 236)}}));
    c.fill(dialBand(cx, cy, face - k.pick(0, 1, 1.5), face - k.pick(1.4, 2.8, 4), 60, 300), Palette::blue());
    const Point tip = dialPoint(cx, cy, face - k.pick(1, 2, 3), 140);
    c.fill(strokePath({dialPoint(cx, cy, k.pick(0.5, 2, 3), 320), tip}, k.pick(1.2, 1.6, 2.4), Cap::Round), Palette::ink());
    c.fill(circlePath(cx, cy, k.pick(1.2, 1.8, 2.6)), Palette::ink());
}

void drawCorrIcon(Canvas& c) {
    const Icon k(c);
    if (k.small()) {
        // thermometer and barometer in whole pixels
        c.fill(roundRectPath(1, 0, 6, 12, 2.5), Palette::paperLine());
        c.fill(roundRectPath(2, 1, 5, 12, 1.5), rgb(255, 255, 255));
        c.fill(circlePath(3.5, 12.5, 3.5), Palette::redDark());
        c.fill(circlePath(3.5, 12.5, 2.5), Paint::radial({2.8, 11.8}, 3, 3, {{0, rgb(255, 130, 110)}, {1, rgb(206, 32, 20)}}));
        c.fill(rectPath(3, 4, 4, 11), rgb(214, 40, 28));
        drawBarometer(k, 11, 9.5, 5.5);
        return;
    }
    // thermometer
    const double tx0 = 3, tx1 = 10.5;
    k.outlinedRect(tx0, 1, tx1, 24, (tx1 - tx0) / 2, Palette::paperLine(), k.vertical(1, 24, rgb(255, 255, 255), rgb(232, 236, 242)));
    const double bx = (tx0 + tx1) / 2, by = 25.5, br = 5.2;
    k.outlinedCircle(bx, by, br, Palette::redDark(),
                     Paint::radial(k.p(bx - 1.5, by - 1.5), k.u(br) * 1.5, k.u(br) * 1.5,
                                   {{0, rgb(255, 130, 110)}, {1, rgb(196, 28, 18)}}));
    const double colW = k.pick(1, 2, 3);
    const double colX = std::floor(k.u(bx) - colW / 2 + 0.5);
    c.fill(rectPath(colX, k.snap(9), colX + colW, k.u(by)), rgb(214, 40, 28));
    for (int i = 0; i < 4; ++i) {
        const double y = k.snap(5 + i * 4);
        c.fill(rectPath(k.snap(tx1) - k.pick(2, 3, 4), y, k.snap(tx1) - 1, y + 1), Palette::paperLine());
    }
    drawBarometer(k, k.u(22), k.u(18), k.u(9.5));
}

void drawEditDataIcon(Canvas& c) {
    const Icon k(c);
    // a table of values
    k.outlinedRect(1, 2, 25, 28, 0, Palette::paperLine(), Paint::solid(rgb(255, 255, 255)));
    const double l = k.snap(1) + 1, t = k.snap(2) + 1, r = k.snap(25) - 1, b = k.snap(28) - 1;
    const double head = t + k.pick(3, 6, 9);
    c.fill(rectPath(l, t, r, head), k.vertical(2, 8, rgb(200, 222, 248), rgb(160, 196, 238)));
    c.fill(rectPath(l, head, r, head + 1), Palette::paperLine());
    const Color grid = rgb(190, 200, 214);
    const int rows = k.small() ? 2 : 3;
    for (int i = 1; i <= rows; ++i) {
        const double y = std::floor(head + (b - head) * i / (rows + 1.0));
        c.fill(rectPath(l, y, r, y + 1), grid);
    }
    const double colX = std::floor(l + (r - l) * 0.4);
    c.fill(rectPath(colX, t, colX + 1, b), grid);
    // pencil lying across it, tip at the lower left
    const double len = k.u(26), half = k.u(k.small() ? 3 : 3.4);
    const Point tip{k.u(10), k.u(30.5)};
    const double ux = std::sqrt(0.5), uy = -std::sqrt(0.5);  // along the pencil
    const double nx = -uy, ny = ux;                           // across it
    auto at = [&](double along, double across) {
        return Point{tip.x + ux * along + nx * across, tip.y + uy * along + ny * across};
    };
    const double cone = k.u(7), band = len - k.u(6), end = len;
    Path body;
    body.addPolygon({at(0, 0), at(cone, -half), at(end, -half), at(end, half), at(cone, half)});
    c.shadow(body, rgb(0, 0, 0, 0.25), 1, 1, k.small() ? 0 : 1);
    c.fill(body, Palette::ink());
    const double in = 1.0;
    c.fill(polygonPath({at(cone, -half + in), at(band, -half + in), at(band, half - in), at(cone, half - in)}),
           Paint::linear(at(0, -half), at(0, half), {{0, rgb(255, 222, 110)}, {0.5, rgb(246, 184, 40)}, {1, rgb(200, 132, 20)}}));
    c.fill(polygonPath({at(band, -half + in), at(end - in, -half + in), at(end - in, half - in), at(band, half - in)}),
           Paint::linear(at(0, -half), at(0, half), {{0, rgb(250, 170, 170)}, {1, rgb(206, 90, 96)}}));
    c.fill(polygonPath({at(band - k.u(2), -half + in), at(band, -half + in), at(band, half - in), at(band - k.u(2), half - in)}),
           Paint::linear(at(0, -half), at(0, half), {{0, rgb(230, 234, 240)}, {1, rgb(140, 148, 160)}}));
    c.fill(polygonPath({at(in * 1.6, 0), at(cone - in * 0.5, -half + in), at(cone - in * 0.5, half - in)}), rgb(244, 214, 168));
    c.fill(polygonPath({at(0, 0), at(k.u(2.6), -half * 0.37), at(k.u(2.6), half * 0.37)}), Palette::ink());
}

void drawShowLambIcon(Canvas& c) {
    const Icon k(c);
    const double n = c.width();
    // axes of the lambda panel
    const double ax = k.snap(3), ay = k.snap(28);
    c.fill(rectPath(ax, k.snap(2), ax + 1, ay + 1), Palette::ink());
    c.fill(rectPath(ax, ay, n - k.snap(1), ay + 1), Palette::ink());
    // the reference line at 13.0 and a lambda curve around it
    const double ref = k.snap(19) + 0.5;
    c.fill(rectPath(ax + 1, ref - 0.5, n - k.snap(1), ref + 0.5 + (k.small() ? 0 : std::floor(k.s) - 1)), rgb(230, 60, 48));
    std::vector<Point> curve;
    for (int i = 0; i <= 30; ++i) {
        const double t = i / 30.0;
        if (k.small()) curve.push_back(k.p(5 + 25 * t, 22 - 5 * detSin(t * 4.2)));
        else curve.push_back(k.p(5 + 25 * t, 22.5 - 5.5 * detSin(t * 7.0) * (1 - 0.4 * t) - 2 * t));
    }
    c.fill(strokePath(curve, k.pick(1.3, 2, 3), Cap::Round), Palette::blue());
    // the letter lambda, bold, set free of the curve
    TextStyle st;
    st.capHeight = k.pick(9, 16, 24);
    st.strokeWidth = k.pick(2, 3.4, 5);
    st.cap = Cap::Round;
    const double x0 = n - k.u(2) - textWidth("\u03bb", st);
    const double base = k.pick(10.5, 19.5, 29);
    const Path lambda = textPath("\u03bb", x0, base, st);
    Mask halo = rasterize(lambda, c.width(), c.height());
    halo.blur(1);
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) halo.at(x, y) = std::min(1.0, halo.at(x, y) * 3);
    c.fillMask(halo, Paint::solid(rgb(255, 255, 255)));
    c.fill(lambda, Palette::blueDark());
}

// ---- mixture marks: a nozzle with a wide (rich) or thin (lean) jet ----

static void drawMixtureIcon(Canvas& c, bool rich) {
    const Icon k(c);
    const Color line = rich ? rgb(176, 112, 24) : rgb(52, 106, 170);
    const Paint fill = rich ? k.vertical(3, 29, rgb(255, 240, 196), rgb(250, 200, 104))
                            : k.vertical(3, 29, rgb(228, 242, 255), rgb(162, 204, 246));
    const Color ink = rgb(40, 44, 52);
    if (k.small()) {
        // whole pixels: one-pixel walls and jets on pixel centres
        c.fill(roundRectPath(0, 2, 16, 14, 2.5), line);
        c.fill(roundRectPath(1, 3, 15, 13, 1.5), fill);
        c.fill(strokePath({{1.5, 4.5}, {4.5, 4.5}, {6.5, 6.5}}, 1.4), ink);
        c.fill(strokePath({{1.5, 10.5}, {4.5, 10.5}, {6.5, 8.5}}, 1.4), ink);
        c.fill(strokePath({{8.5, 7.5}, {14.5, 7.5}}, 1.0), ink);
        if (rich) {
            c.fill(strokePath({{8.5, 7.5}, {14.5, 4.2}}, 1.0), ink);
            c.fill(strokePath({{8.5, 7.5}, {14.5, 10.8}}, 1.0), ink);
        }
        return;
    }
    k.outlinedRect(1, 3, 31, 29, 5, line, fill);
    const double heavy = k.pick(1.6, 2.6, 3.8), thin = k.pick(1, 1.5, 2.2);
    // nozzle: two walls converging towards the right
    k.line({{4.5, 10}, {11, 10}, {14.5, 13.5}}, heavy, ink);
    k.line({{4.5, 22}, {11, 22}, {14.5, 18.5}}, heavy, ink);
    if (rich) {
        k.line({{17.5, 16}, {27.5, 16}}, thin, ink);
        k.line({{17.5, 16}, {27, 8.5}}, thin, ink);
        k.line({{17.5, 16}, {27, 23.5}}, thin, ink);
        if (!k.small()) {
            k.line({{17.5, 16}, {27.5, 12}}, thin * 0.8, ink);
            k.line({{17.5, 16}, {27.5, 20}}, thin * 0.8, ink);
        }
    } else {
        k.line({{17.5, 16}, {28, 16}}, thin, ink);
    }
}

void drawFettIcon(Canvas& c) { drawMixtureIcon(c, true); }
void drawMagerIcon(Canvas& c) { drawMixtureIcon(c, false); }

// ---- signal lamps ----

static void drawLamp(Canvas& c, bool lit) {
    const Icon k(c);
    const double cx = k.u(16), cy = k.u(16), R = k.small() ? 8 : k.u(15.5);
    c.fill(circlePath(cx, cy, R), rgb(40, 44, 50));
    if (k.small())
        c.fill(circlePath(cx, cy, R - 1), rgb(176, 182, 190));
    else
        c.fill(circlePath(cx, cy, R - 1),
               Paint::conic({cx, cy}, 0,
                            {{0, rgb(150, 156, 164)}, {0.13, rgb(248, 250, 252)}, {0.30, rgb(170, 176, 186)},
                             {0.5, rgb(96, 102, 112)}, {0.63, rgb(236, 240, 244)}, {0.82, rgb(118, 124, 134)},
                             {1, rgb(150, 156, 164)}}));
    const double lens = R - 1 - k.pick(1, 3, 4.5);
    c.fill(circlePath(cx, cy, lens + 1), rgb(30, 20, 20));
    if (lit) {
        c.fill(circlePath(cx, cy, lens),
               Paint::radial({cx - lens * 0.15, cy - lens * 0.2}, lens * 1.15, lens * 1.15,
                             {{0, rgb(255, 236, 210)}, {0.25, rgb(255, 110, 70)}, {0.7, rgb(226, 24, 16)},
                              {1, rgb(140, 8, 6)}}));
    } else {
        c.fill(circlePath(cx, cy, lens),
               Paint::radial({cx - lens * 0.15, cy - lens * 0.2}, lens * 1.15, lens * 1.15,
                             {{0, rgb(150, 104, 100)}, {0.6, rgb(110, 62, 58)}, {1, rgb(62, 30, 28)}}));
    }
    // reflection on the lens
    c.fill(ellipsePath(cx - lens * 0.2, cy - lens * 0.48, lens * 0.55, lens * 0.3),
           Paint::linear({0, cy - lens * 0.8}, {0, cy - lens * 0.15},
                         {{0, rgb(255, 255, 255, lit ? 0.75 : 0.5)}, {1, rgb(255, 255, 255, 0)}}));
}

void drawLampOnIcon(Canvas& c) { drawLamp(c, true); }
void drawLampOffIcon(Canvas& c) { drawLamp(c, false); }
