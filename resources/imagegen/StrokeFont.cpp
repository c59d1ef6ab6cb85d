#include "StrokeFont.h"

#include <cstdint>
#include <sstream>
#include <vector>

struct Glyph {
    char32_t code;
    double width;  // extent of the centre lines in grid units
    const char* strokes;
};

// M x y: new stroke; L x y: line; A cx cy rx ry from to: elliptical arc in
// screen degrees (0 right, clockwise), joined to the stroke so far.
static const Glyph kGlyphs[] = {
    {U' ', 2.6, ""},
    {U'0', 6, "M 3 0 A 3 5 3 5 -90 270"},
    {U'1', 4.2, "M 0.4 2.4 L 3.4 0 L 3.4 10"},
    {U'2', 6, "A 3 3 2.8 3 190 390 L 0 10 L 6 10"},
    {U'3', 6, "A 3 2.6 2.8 2.6 200 450 A 3 7.3 3 2.7 270 520"},
    {U'4', 6.4, "M 4.6 10 L 4.6 0 L 0 7 L 6.4 7"},
    {U'5', 6, "M 5.6 0 L 1 0 L 0.6 4.6 A 3 7 3 3 222 485"},
    {U'6', 6, "A 3 5 3 5 305 160 M 3 4 A 3 7 3 3 -90 270"},
    {U'7', 6, "M 0 0 L 6 0 L 1.8 10"},
    {U'8', 6, "M 3 0 A 3 2.5 2.6 2.5 -90 270 M 3 5 A 3 7.5 3 2.5 -90 270"},
    {U'9', 6, "M 3 0 A 3 3 3 3 -90 270 A 3 5 3 5 0 125"},
    {U'/', 4.4, "M 4.4 0 L 0 10"},
    {U'.', 0, "M 0 10 L 0 10"},
    {U'-', 4, "M 0 6 L 4 6"},
    {U'A', 6.6, "M 0 10 L 3.3 0 L 6.6 10 M 1.2 6.6 L 5.4 6.6"},
    {U'B', 6.2, "M 0 10 L 0 0 L 3.3 0 A 3.3 2.5 2.5 2.5 270 450 L 0 5 M 3.2 5 A 3.4 7.5 2.8 2.5 270 450 L 0 10"},
    {U'C', 6.2, "A 3.5 5 3.5 5 -42 -318"},
    {U'D', 6.4, "M 0 0 L 0 10 L 2.2 10 A 2.2 5 4.2 5 90 -90 L 0 0"},
    {U'E', 5.6, "M 5.6 0 L 0 0 L 0 10 L 5.6 10 M 0 5 L 4.6 5"},
    {U'F', 5.4, "M 5.4 0 L 0 0 L 0 10 M 0 5 L 4.5 5"},
    {U'G', 6.8, "A 3.5 5 3.5 5 -42 -360 L 6.8 6 M 6.8 5.2 L 3.8 5.2"},
    {U'H', 6.2, "M 0 0 L 0 10 M 6.2 0 L 6.2 10 M 0 5 L 6.2 5"},
    {U'I', 0, "M 0 0 L 0 10"},
    {U'J', 4.6, "M 4.6 0 L 4.6 7.4 A 2.3 7.4 2.3 2.6 0 180"},
    {U'K', 6, "M 0 0 L 0 10 M 6 0 L 0 6.2 M 2.2 4 L 6 10"},
    {U'L', 5.2, "M 0 0 L 0 10 L 5.2 10"},
    {U'M', 7.6, "M 0 10 L 0 0 L 3.8 7.2 L 7.6 0 L 7.6 10"},
    {U'N', 6.2, "M 0 10 L 0 0 L 6.2 10 L 6.2 0"},
    {U'O', 7.2, "M 3.6 0 A 3.6 5 3.6 5 -90 270"},
    {U'P', 6, "M 0 10 L 0 0 L 3.2 0 A 3.2 2.8 2.8 2.8 270 450 L 0 5.6"},
    {U'Q', 7.2, "M 3.6 0 A 3.6 5 3.6 5 -90 270 M 4.4 7.2 L 7.2 10.4"},
    {U'R', 6.2, "M 0 10 L 0 0 L 3.2 0 A 3.2 2.8 2.8 2.8 270 450 L 0 5.6 M 3 5.6 L 6.2 10"},
    {U'S', 6, "A 3 2.5 2.9 2.5 -25 -270 A 3 7.5 3 2.5 -90 155"},
    {U'T', 6.4, "M 0 0 L 6.4 0 M 3.2 0 L 3.2 10"},
    {U'U', 6.2, "M 0 0 L 0 6.9 A 3.1 6.9 3.1 3.1 180 0 L 6.2 0"},
    {U'V', 6.6, "M 0 0 L 3.3 10 L 6.6 0"},
    {U'W', 9, "M 0 0 L 2.25 10 L 4.5 2.2 L 6.75 10 L 9 0"},
    {U'X', 6.2, "M 0 0 L 6.2 10 M 6.2 0 L 0 10"},
    {U'Y', 6.4, "M 0 0 L 3.2 5.2 L 6.4 0 M 3.2 5.2 L 3.2 10"},
    {U'Z', 6, "M 0.2 0 L 6 0 L 0 10 L 6 10"},
    {U'a', 4.6, "M 4.6 3 L 4.6 10 M 4.6 6.5 A 2.3 6.5 2.3 3.5 0 360"},
    {U'e', 4.6, "M 0 6.5 L 4.6 6.5 A 2.3 6.5 2.3 3.5 0 -318"},
    {U'h', 4.8, "M 0 0 L 0 10 M 0 5.6 A 2.4 5.4 2.4 2.4 180 360 L 4.8 10"},
    {U'i', 0, "M 0 3 L 0 10 M 0 0.4 L 0 0.4"},
    {U'k', 4.8, "M 0 0 L 0 10 M 4.6 3 L 0 7.4 M 1.8 5.8 L 4.8 10"},
    {U'm', 7.6, "M 0 10 L 0 3 M 0 5.2 A 1.9 5 1.9 2 180 360 L 3.8 10 M 3.8 5 A 5.7 5 1.9 2 180 360 L 7.6 10"},
    {U'n', 4.8, "M 0 10 L 0 3 M 0 5.6 A 2.4 5.4 2.4 2.4 180 360 L 4.8 10"},
    {U's', 4.2, "A 2.1 4.75 2 1.75 -25 -270 A 2.1 8.25 2.1 1.75 -90 155"},
    {U'x', 4.8, "M 0 3 L 4.8 10 M 4.8 3 L 0 10"},
    {U'\u03bb', 6, "M 0.6 0 L 2 0 L 6 10 M 3.2 3.6 L 0 10"},  // lambda
};

static const Glyph* findGlyph(char32_t c) {
    for (const Glyph& g : kGlyphs)
        if (g.code == c) return &g;
    return nullptr;
}

static std::u32string decodeUtf8(const std::string& s) {
    std::u32string out;
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
        ++i;
        for (; extra > 0 && i < s.size(); --extra, ++i) cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
        out.push_back(cp);
    }
    return out;
}

// Pairs whose open sides leave a hole without a tighter fit, in cap heights.
static double kerning(char32_t left, char32_t right) {
    if (left == U'L' && (right == U'T' || right == U'V' || right == U'Y')) return -0.16;
    if ((left == U'T' || left == U'V') && right == U'A') return -0.1;
    if (left == U'A' && (right == U'T' || right == U'V')) return -0.1;
    return 0;
}

static double advance(const Glyph& g, const TextStyle& st) {
    return g.width * st.capHeight / 10 + st.strokeWidth + st.spacing * st.capHeight;
}

bool hasGlyphs(const std::string& utf8) {
    for (char32_t c : decodeUtf8(utf8))
        if (!findGlyph(c)) return false;
    return true;
}

double textWidth(const std::string& utf8, const TextStyle& style) {
    double w = 0;
    char32_t previous = 0;
    for (char32_t c : decodeUtf8(utf8))
        if (const Glyph* g = findGlyph(c)) {
            w += advance(*g, style) + kerning(previous, c) * style.capHeight;
            previous = c;
        }
    // the visible text ends at the last stroke's edge, not after its gap
    return w > 0 ? w - style.spacing * style.capHeight : 0;
}

Path textPath(const std::string& utf8, double x, double baseline, const TextStyle& st) {
    Path path;
    const double k = st.capHeight / 10;
    double pen = x + st.strokeWidth / 2;
    char32_t previous = 0;
    for (char32_t c : decodeUtf8(utf8)) {
        const Glyph* g = findGlyph(c);
        if (!g) continue;
        pen += kerning(previous, c) * st.capHeight;
        previous = c;
        auto map = [&](double gx, double gy) {
            const double py = baseline - st.capHeight + gy * k;
            return Point{pen + gx * k + (baseline - py) * st.slant, py};
        };
        std::vector<Point> stroke;
        auto flush = [&]() {
            if (!stroke.empty()) path.append(strokePath(stroke, st.strokeWidth, st.cap));
            stroke.clear();
        };
        std::istringstream in(g->strokes);
        std::string op;
        while (in >> op) {
            if (op == "M" || op == "L") {
                double gx, gy;
                in >> gx >> gy;
                if (op == "M") flush();
                stroke.push_back(map(gx, gy));
            } else if (op == "A") {
                double cx, cy, rx, ry, from, to;
                in >> cx >> cy >> rx >> ry >> from >> to;
                // flattened on the rendered size, then leaned with the rest
                for (const Point& p : arcPoints(cx * k, cy * k, rx * k, ry * k, from, to))
                    stroke.push_back(map(p.x / k, p.y / k));
            }
        }
        flush();
        pen += advance(*g, st);
    }
    return path;
}
