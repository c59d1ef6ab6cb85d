// The contact sheet: every picture at its own size and enlarged, the tool
// bar as a row of buttons, and the four instruments of the measurement
// dialog composed the way the program draws them (scale dots, numbers,
// needle, value text and the overlays), with this generator's stroke font
// standing in for bold Arial.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "DetMath.h"
#include "Pictures.h"
#include "StrokeFont.h"

static const Color kSheet = rgb(236, 236, 232);
static const Color kDialogFace = rgb(240, 240, 240);
static const Color kLabel = rgb(40, 44, 52);

static Canvas iconAt(void (*draw)(Canvas&), int size) {
    Canvas c(size, size);
    draw(c);
    return c;
}

static void label(Canvas& sheet, const std::string& text, double x, double y, double cap = 9, Color color = kLabel) {
    TextStyle st;
    st.capHeight = cap;
    st.strokeWidth = cap / 7.5;
    sheet.fill(textPath(text, x, y, st), color);
}

static void checkerboard(Canvas& sheet, int x, int y, int w, int h) {
    for (int j = 0; j < h; j += 8)
        for (int i = 0; i < w; i += 8) {
            const bool dark = ((i / 8) + (j / 8)) % 2 == 1;
            sheet.fill(rectPath(x + i, y + j, x + std::min(i + 8, w), y + std::min(j + 8, h)),
                       dark ? rgb(200, 200, 200) : rgb(250, 250, 250));
        }
}

// ---- instruments as the program composes them ----

// Bold Arial of a given cell height, approximated by the stroke font.
static TextStyle arialBold(int cellHeight) {
    TextStyle st;
    st.capHeight = cellHeight * 0.62;
    st.strokeWidth = cellHeight * 0.125;
    st.spacing = 0.12;
    return st;
}

// Text centred in a rectangle, in one colour.
static void centredText(Canvas& c, const std::string& text, const TextStyle& st, double l, double t, double r,
                        double b, Color color) {
    const double tw = textWidth(text, st);
    const double x = (l + r) / 2 - tw / 2;
    const double base = (t + b) / 2 + st.capHeight / 2;
    c.fill(textPath(text, x, base, st), color);
}

// A line with the triangle caps of the needle's pen.
static Path triangleCapLine(Point a, Point b, double width, bool triangleCaps) {
    const double dx = b.x - a.x, dy = b.y - a.y, len = std::sqrt(dx * dx + dy * dy);
    if (len <= 0) return Path{};
    const double ux = dx / len, uy = dy / len, h = width / 2;
    const double nx = -uy * h, ny = ux * h;
    std::vector<Point> pts{{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}};
    if (triangleCaps) pts.push_back({b.x + ux * h, b.y + uy * h});
    pts.push_back({b.x - nx, b.y - ny});
    pts.push_back({a.x - nx, a.y - ny});
    if (triangleCaps) pts.push_back({a.x - ux * h, a.y - uy * h});
    return polygonPath(pts);
}

static std::string formatValue(const std::string& format, int value) {
    char buffer[64];
    const size_t at = format.find("%d");
    if (at == std::string::npos) return format;
    std::snprintf(buffer, sizeof buffer, "%d", value);
    return format.substr(0, at) + buffer + format.substr(at + 2);
}

struct FitRect {
    double l, t, r, b;
};

static Canvas roundGauge(int W, int H, int minimum, int maximum, int step, int value, const std::string& format,
                         const Canvas& face, const Canvas& glass, const Canvas& cover) {
    Canvas c(W, H);
    c.drawStretched(face, -25, -25, W + 50, H + 50);
    const double w = W - 20, h = H - 20;
    const int cx = W / 2, cy = H / 2;
    const TextStyle labelFont = arialBold(18);
    auto theta = [&](double v) { return (v - minimum) * 3.1415 * 1.5 / (maximum - minimum) + 0.785375; };
    std::vector<FitRect> taken;  // scale numbers and dots, which the value text keeps clear of
    for (int v = minimum; v <= maximum; v += step) {
        const double a = -detSin(theta(v)), b = detCos(theta(v));
        const double x = std::trunc(w * a / 2.2 + cx), y = std::trunc(h * b / 2.2 + cy);
        c.fill(circlePath(x, y, 3), rgb(255, 255, 127));
        const std::string text = std::to_string(v);
        const double tw = std::ceil(textWidth(text, labelFont)) + 2, th = 18;
        const double lx = std::trunc((w - tw - 10) * a / 2.3 + cx), ly = std::trunc((h - th) * b / 2.3 + cy);
        const double l = lx - std::trunc(tw / 2), t = ly - std::trunc(th / 2);
        const double r = lx + std::trunc(tw / 2) + 1, bo = ly + std::trunc(th / 2) + 1;
        centredText(c, text, labelFont, l, t, r, bo, rgb(0, 0, 0));
        centredText(c, text, labelFont, l - 1, t - 1, r - 1, bo - 1, rgb(255, 255, 100));
        taken.push_back({l, t, r, bo});
        taken.push_back({x - 3, y - 3, x + 4, y + 4});
    }
    const double th = theta(value);
    const double dx = std::trunc(detSin(th) * W / -2.5), dy = std::trunc(detCos(th) * H / 2.5);
    const Point p0{cx - std::trunc(dx / 3), cy - std::trunc(dy / 3)}, p1{cx + dx, cy + dy};
    auto off = [](Point p, double d) { return Point{p.x + d, p.y + d}; };
    c.fill(triangleCapLine(off(p0, -1), off(p1, -1), 7, true), rgb(255, 127, 127));
    c.fill(triangleCapLine(off(p0, 1), off(p1, 1), 7, true), rgb(50, 0, 0));
    c.fill(triangleCapLine(p0, p1, 7, true), rgb(240, 0, 0));
    c.fill(triangleCapLine(p0, p1, 3, false), rgb(255, 255, 0));
    const TextStyle valueFont = arialBold(20);
    const std::string text = formatValue(format, value);
    const double vw = std::ceil(textWidth(text, valueFont)), vh = 20;
    double vt = std::trunc(3 * H / 4.0 - vh / 2);
    for (bool moved = true; moved;) {
        moved = false;
        for (const FitRect& t : taken)
            if (W / 2 - vw / 2 < t.r + 2 && t.l - 2 < W / 2 + vw / 2 && vt < t.b + 2 && t.t - 2 < vt + vh) {
                vt = t.b + 2;
                moved = true;
            }
    }
    centredText(c, text, valueFont, 0, vt, W, vt + vh, rgb(255, 255, 255));
    centredText(c, text, valueFont, 1, vt + 1, W + 1, vt + vh + 1, rgb(0, 0, 0));
    c.drawStretched(cover, -25, -25, W + 50, H + 50);
    c.drawStretched(glass, -25, -25, W + 50, H + 50, 80 / 255.0);
    return c;
}


static FitRect fitDialCircle(FitRect rc, int style) {
    const int w = static_cast<int>(rc.r - rc.l), h = static_cast<int>(rc.b - rc.t);
    const int R = w * w / (8 * h) + h / 2;
    const int cx = static_cast<int>(rc.l + rc.r) / 2;
    if (style == 1) rc.b = rc.t + 2 * R;
    if (style == 2) rc.t = rc.b - 2 * R;
    rc.l = cx - R;
    rc.r = cx + R;
    return {rc.l + 15, rc.t + 15, rc.r - 15, rc.b - 15};
}

static Canvas rectGauge(int W, int H, int style, int minimum, int maximum, int step, int value,
                        const std::string& caption, const Canvas& face, const Canvas& glass) {
    Canvas c(W, H);
    c.clear(kDialogFace);
    const double startAngle = style == 1 ? 130 : 410, endAngle = style == 1 ? 230 : 310;
    const double ax = -25, aw = W + 50, ah = 2 * H + 50;
    const double ay = style == 1 ? -25 : -H - 25;
    // sunken frame, then everything inside it
    c.fill(rectPath(0, 0, W, H), rgb(160, 160, 160));
    c.fill(rectPath(1, 1, W, H), rgb(255, 255, 255));
    c.fill(rectPath(1, 1, W - 1, H - 1), rgb(105, 105, 105));
    Canvas inner(W, H);
    inner.drawStretched(face, ax, ay, aw, ah);
    const FitRect r = fitDialCircle({0, 0, static_cast<double>(W), static_cast<double>(H)}, style);
    const double cx = std::trunc((r.l + r.r) / 2), cy = std::trunc((r.t + r.b) / 2), w = r.r - r.l, h = r.b - r.t;
    const double k = 0.01745277777777778;
    if (style == 1) {
        std::vector<Point> pie{{cx, cy}};
        for (int i = 0; i <= 10; ++i) {
            const double a = (170 - i) * k;
            pie.push_back({cx - detSin(a) * w / 2, cy + detCos(a) * h / 2});
        }
        inner.fill(polygonPath(pie), rgb(200, 200, 0));
    }
    auto theta = [&](double v) { return (v - minimum) * k * (endAngle - startAngle) / (maximum - minimum) + startAngle * k; };
    const TextStyle labelFont = arialBold(14);
    for (int v = minimum; v <= maximum; v += step) {
        const double a = -detSin(theta(v)), b = detCos(theta(v));
        inner.fill(circlePath(std::trunc(w * a / 2.2 + cx), std::trunc(h * b / 2.2 + cy), 1.5), rgb(0, 0, 0));
        std::string text = std::to_string(v / 10);
        if (text.size() > 3) text.resize(3);
        const double tw = std::ceil(textWidth(text, labelFont)) + 2, th = 14;
        const double lx = std::trunc((w - tw - 10) * a / 2.3 + cx), ly = std::trunc((h - th) * b / 2.3 + cy);
        const double l = lx - std::trunc(tw / 2), t = ly - std::trunc(th / 2);
        const double rr = lx + std::trunc(tw / 2) + 1, bo = ly + std::trunc(th / 2) + 1;
        centredText(inner, text, labelFont, l, t, rr, bo, rgb(255, 255, 255));
        centredText(inner, text, labelFont, l + 1, t + 1, rr + 1, bo + 1, rgb(0, 0, 0));
    }
    Canvas fett = iconAt(drawFettIcon, 32), mager = iconAt(drawMagerIcon, 32);
    // rich at the low ratios on the left, lean at the right, mirror images
    inner.draw(fett, static_cast<int>(r.l) + 8, static_cast<int>(r.t) + 8);
    inner.draw(mager, static_cast<int>(r.r) - 40, static_cast<int>(r.t) + 8);
    // the needle, drawn with the client rectangle shrunk by 2
    const FitRect pr = fitDialCircle({2, 2, W - 2.0, H - 2.0}, style);
    const double h0 = H - 4;
    const double pcx = std::trunc((pr.l + pr.r) / 2), pcy = std::trunc((pr.t + pr.b) / 2);
    const double th = theta(value);
    const double dx = std::trunc(detSin(th) * (pr.r - pr.l) / -2.5), dy = std::trunc(detCos(th) * (pr.b - pr.t) / 2.5);
    const Point p0{pcx - std::trunc(dx / 3), pcy - std::trunc(dy / 3)}, p1{pcx + dx, pcy + dy};
    inner.fill(strokePath({{p0.x - 1, p0.y - 1}, {p1.x - 1, p1.y - 1}}, 3, Cap::Round), rgb(255, 255, 255));
    inner.fill(strokePath({{p0.x + 1, p0.y + 1}, {p1.x + 1, p1.y + 1}}, 3, Cap::Round), rgb(0, 0, 0));
    inner.fill(strokePath({p0, p1}, 3, Cap::Round), rgb(128, 128, 128));
    const double shrink = std::trunc(2 * h0 / 3);
    const double hl = pr.l + shrink, ht = pr.t + shrink, hr = pr.r - shrink, hb = pr.b - shrink;
    inner.fill(ellipsePath((hl + hr) / 2, (ht + hb) / 2, (hr - hl) / 2, (hb - ht) / 2), rgb(0, 0, 0));
    inner.fill(ellipsePath((hl + hr) / 2, (ht + hb) / 2, (hr - hl) / 2 - 1, (hb - ht) / 2 - 1), rgb(255, 255, 255));
    const TextStyle valueFont = arialBold(17);
    double vt = H - H / 3.0, vb = H;
    if (style == 2) {
        vt = 0;
        vb = H / 4.0;
    }
    centredText(inner, caption, valueFont, 0, vt, W, vb, rgb(255, 255, 255));
    centredText(inner, caption, valueFont, 1, vt + 1, W + 1, vb + 1, rgb(0, 0, 0));
    inner.drawStretched(glass, ax, ay, aw, ah, 80 / 255.0);
    // clipped to the inside of the frame
    c.draw(inner.crop(3, 3, W - 6, H - 6), 3, 3);
    return c;
}

// ---- the sheet ----

Canvas makeContactSheet() {
    const int width = 1180;
    const int height = 1700;
    Canvas sheet(width, height);
    sheet.clear(kSheet);
    label(sheet, "KALTRENOX", 24, 40, 20, rgb(18, 50, 108));

    // tool bar as the main frame shows it
    int y = 70;
    label(sheet, "WERKZEUGLEISTE", 24, y + 12);
    y += 24;
    sheet.fill(rectPath(24, y, width - 24, y + 42), kDialogFace);
    sheet.fill(rectPath(24, y + 41, width - 24, y + 42), rgb(160, 160, 160));
    struct Button {
        int x;
        void (*draw)(Canvas&);
    };
    const Button buttons[] = {{0, drawFileOpenIcon},   {25, drawFileAddIcon},   {50, drawFilePrintIcon},
                              {80, drawStartMsIcon},   {105, drawConfigIcon},   {365, drawZoomAllIcon},
                              {390, drawViewPageIcon}, {415, drawCorrIcon},     {440, drawEditDataIcon},
                              {465, drawShowLambIcon}};
    for (const Button& b : buttons) {
        const int bx = 24 + b.x * 3 / 2, bw = 37, bh = 40;
        sheet.fill(rectPath(bx, y, bx + bw, y + bh), rgb(255, 255, 255));
        sheet.fill(rectPath(bx + 1, y + 1, bx + bw, y + bh), rgb(160, 160, 160));
        sheet.fill(rectPath(bx + 1, y + 1, bx + bw - 1, y + bh - 1), kDialogFace);
        Canvas icon = iconAt(b.draw, 32);
        sheet.draw(icon, bx + (bw - 32) / 2, y + (bh - 32) / 2);
    }
    y += 60;

    // every icon: 16, 32, 48 and the 32 enlarged three times
    struct IconRow {
        const char* name;
        void (*draw)(Canvas&);
    };
    std::vector<IconRow> icons;
    for (const PictureEntry& e : pictureCatalogue())
        if (e.format == PictureFormat::Icon) icons.push_back({e.name, e.drawIcon});
    const int columnWidth = 370, rowHeight = 122;
    for (size_t i = 0; i < icons.size(); ++i) {
        const int col = static_cast<int>(i % 3), row = static_cast<int>(i / 3);
        const int x = 24 + col * columnWidth, top = y + row * rowHeight;
        label(sheet, icons[i].name, x, top + 12);
        int ix = x;
        for (int size : {16, 32, 48}) {
            Canvas icon = iconAt(icons[i].draw, size);
            sheet.draw(icon, ix, top + 22 + (48 - size));
            ix += size + 10;
        }
        checkerboard(sheet, ix + 6, top + 20, 100, 100);
        Canvas icon32 = iconAt(icons[i].draw, 32);
        sheet.draw(icon32, ix + 8, top + 22, 3);
        Canvas icon16 = iconAt(icons[i].draw, 16);
        sheet.draw(icon16, ix + 116, top + 22, 4);
    }
    y += static_cast<int>((icons.size() + 2) / 3) * rowHeight + 10;

    // the three dial pictures on a checkerboard, and the logo
    const Canvas face = makeGaugeFace(), glass = makeGaugeGlass(), cover = makeGaugeCover();
    const char* names[] = {"GAUGE1", "GAUGE2", "GAUGE3"};
    const Canvas* dials[] = {&face, &glass, &cover};
    for (int i = 0; i < 3; ++i) {
        const int x = 24 + i * 320;
        label(sheet, names[i], x, y + 12);
        checkerboard(sheet, x, y + 20, 300, 300);
        sheet.draw(*dials[i], x, y + 20);
    }
    y += 340;

    // the instruments of the measurement dialog
    label(sheet, "MESSWERT-ERFASSUNG", 24, y + 12);
    y += 22;
    // sizes of the placeholders under Wine: 175 x 160 and 175 x 80 dialog units,
    // a dialog unit 1.5 pixels wide and 1.625 high
    Canvas speed = roundGauge(263, 260, 0, 250, 50, 132, "%d km/h", face, glass, cover);
    Canvas rpm = roundGauge(263, 260, 0, 8000, 1000, 5640, "%d U/min", face, glass, cover);
    Canvas af = rectGauge(263, 130, 1, 100, 180, 20, 131, "A/F", face, glass);
    Canvas gas = rectGauge(263, 130, 2, 400, 1200, 200, 930, "Gas", face, glass);
    sheet.fill(rectPath(24, y, 24 + 550, y + 276), kDialogFace);
    sheet.draw(speed, 32, y + 8);
    sheet.draw(rpm, 303, y + 8);
    sheet.fill(rectPath(590, y, 590 + 280, y + 276), kDialogFace);
    sheet.draw(af, 599, y + 8);
    sheet.draw(gas, 599, y + 138);
    // the About box's logo and the lambda panel's marks
    const int ax = 890;
    label(sheet, "KALTRNX", ax, y + 12);
    Canvas logo = makeLogo();
    sheet.draw(logo, ax, y + 20);
    label(sheet, "FETT  MAGER", ax, y + 130);
    Canvas fett = makeFettBitmap(), mager = makeMagerBitmap();
    sheet.draw(fett, ax, y + 140);
    sheet.draw(mager, ax + 40, y + 140);
    sheet.draw(fett, ax, y + 160, 6);
    sheet.draw(mager, ax + 120, y + 160, 6);
    y += 310;

    // the logo enlarged
    sheet.draw(logo, 24, y - 8, 3);
    return sheet;
}
