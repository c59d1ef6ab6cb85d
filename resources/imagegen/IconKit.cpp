#include "IconKit.h"

static double area2(const std::vector<Point>& p) {
    double sum = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        const Point& a = p[i];
        const Point& b = p[(i + 1) % p.size()];
        sum += a.x * b.y - b.x * a.y;
    }
    return sum;
}

std::vector<Point> insetPolygon(const std::vector<Point>& pts, double d) {
    const size_t n = pts.size();
    const double side = area2(pts) > 0 ? 1.0 : -1.0;
    struct Line {
        Point p, dir;
    };
    std::vector<Line> lines;
    for (size_t i = 0; i < n; ++i) {
        const Point a = pts[i], b = pts[(i + 1) % n];
        const double dx = b.x - a.x, dy = b.y - a.y, len = std::sqrt(dx * dx + dy * dy);
        const Point normal{-dy / len * side * d, dx / len * side * d};
        lines.push_back({{a.x + normal.x, a.y + normal.y}, {dx, dy}});
    }
    std::vector<Point> out;
    for (size_t i = 0; i < n; ++i) {
        const Line& l1 = lines[(i + n - 1) % n];
        const Line& l2 = lines[i];
        const double den = l1.dir.x * l2.dir.y - l1.dir.y * l2.dir.x;
        if (std::fabs(den) < 1e-12) {
            out.push_back(l2.p);
            continue;
        }
        const double t = ((l2.p.x - l1.p.x) * l2.dir.y - (l2.p.y - l1.p.y) * l2.dir.x) / den;
        out.push_back({l1.p.x + l1.dir.x * t, l1.p.y + l1.dir.y * t});
    }
    return out;
}

std::vector<Point> Icon::sps(std::initializer_list<Point> unitPoints) const {
    std::vector<Point> out;
    for (const Point& q : unitPoints) out.push_back(sp(q.x, q.y));
    return out;
}

Paint Icon::vertical(double y0, double y1, Color top, Color bottom) const {
    return Paint::linear({0, u(y0)}, {0, u(y1)}, {{0, top}, {1, bottom}});
}

Paint Icon::diagonal(double x0, double y0, double x1, double y1, Color from, Color to) const {
    return Paint::linear(p(x0, y0), p(x1, y1), {{0, from}, {1, to}});
}

void Icon::outlined(const std::vector<Point>& corners, Color lineColor, const Paint& fill, double width) const {
    c.fill(polygonPath(corners), lineColor);
    c.fill(polygonPath(insetPolygon(corners, width)), fill);
}

void Icon::outlinedRect(double x0, double y0, double x1, double y1, double radius, Color lineColor,
                        const Paint& fill, double width) const {
    const double l = snap(x0), t = snap(y0), r = snap(x1), b = snap(y1);
    const double rad = radius > 0 ? std::max(1.0, u(radius)) : 0;
    c.fill(roundRectPath(l, t, r, b, rad), lineColor);
    c.fill(roundRectPath(l + width, t + width, r - width, b - width, std::max(0.0, rad - width)), fill);
}

void Icon::outlinedCircle(double cx, double cy, double r, Color lineColor, const Paint& fill, double width) const {
    c.fill(circlePath(u(cx), u(cy), u(r)), lineColor);
    c.fill(circlePath(u(cx), u(cy), u(r) - width), fill);
}

void Icon::line(std::initializer_list<Point> unitPoints, double width, Color color, Cap cap) const {
    std::vector<Point> pts;
    for (const Point& q : unitPoints) pts.push_back(p(q.x, q.y));
    c.fill(strokePath(pts, width, cap), color);
}

void Icon::outlinedPath(const Path& path, Color lineColor, const Paint& fill) const {
    const Mask mask = rasterize(path, c.width(), c.height());
    c.fillMask(mask, Paint::solid(lineColor));
    c.fillMask(mask.eroded(), fill);
}
