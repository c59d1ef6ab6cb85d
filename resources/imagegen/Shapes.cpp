#include "Shapes.h"

#include <algorithm>
#include <cmath>

#include "DetMath.h"

int circleSegments(double r) {
    // keeps the gap between polygon and circle under 1/100 pixel
    const int n = static_cast<int>(std::ceil(kPi / std::sqrt(2.0 * 0.01 / std::max(r, 0.01))));
    return std::clamp(n, 12, 720);
}

Path rectPath(double x0, double y0, double x1, double y1) {
    Path p;
    p.addPolygon({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
    return p;
}

std::vector<Point> arcPoints(double cx, double cy, double rx, double ry, double fromDeg, double toDeg) {
    const double span = std::fabs(toDeg - fromDeg);
    const int n = std::max(1, static_cast<int>(std::ceil(circleSegments(std::max(rx, ry)) * span / 360.0)));
    // vertices pushed out a little, so that the polygon's area is the curve's
    const double step = detRadians(span / n);
    const double grow = step > 0 ? std::sqrt(step / detSin(step)) : 1.0;
    std::vector<Point> pts;
    for (int i = 0; i <= n; ++i) {
        const double a = detRadians(fromDeg + (toDeg - fromDeg) * i / n);
        // the ends of an open arc stay on the curve, where it joins straight edges
        const double g = (span >= 360.0 || (i > 0 && i < n)) ? grow : 1.0;
        pts.push_back({cx + detCos(a) * rx * g, cy + detSin(a) * ry * g});
    }
    return pts;
}

Path roundRectPath(double x0, double y0, double x1, double y1, double radius) {
    radius = std::min({radius, (x1 - x0) / 2, (y1 - y0) / 2});
    if (radius <= 0) return rectPath(x0, y0, x1, y1);
    std::vector<Point> pts;
    auto corner = [&](double cx, double cy, double from) {
        auto arc = arcPoints(cx, cy, radius, radius, from, from + 90);
        pts.insert(pts.end(), arc.begin(), arc.end());
    };
    corner(x1 - radius, y0 + radius, 270);
    corner(x1 - radius, y1 - radius, 0);
    corner(x0 + radius, y1 - radius, 90);
    corner(x0 + radius, y0 + radius, 180);
    Path p;
    p.addPolygon(pts);
    return p;
}

Path ellipsePath(double cx, double cy, double rx, double ry) {
    auto pts = arcPoints(cx, cy, rx, ry, 0, 360);
    pts.pop_back();
    Path p;
    p.addPolygon(pts);
    return p;
}

Path circlePath(double cx, double cy, double r) { return ellipsePath(cx, cy, r, r); }

Path ringPath(double cx, double cy, double outer, double inner) {
    Path p = circlePath(cx, cy, outer);
    auto hole = arcPoints(cx, cy, inner, inner, 0, 360);
    hole.pop_back();
    p.addHole(hole);
    return p;
}

Path polygonPath(std::vector<Point> points) {
    Path p;
    p.addPolygon(std::move(points));
    return p;
}

Path linePath(Point a, Point b, double width, Cap cap) { return strokePath({a, b}, width, cap); }

// Arc around c from direction a to direction b (unit vectors times the
// radius), the short way round.
static void appendJoinArc(std::vector<Point>& out, Point c, Point a, Point b, double r) {
    const double fromDeg = detAtan2(a.y, a.x) * 180.0 / kPi;
    double sweep = detAtan2(b.y, b.x) * 180.0 / kPi - fromDeg;
    if (sweep > 180) sweep -= 360;
    if (sweep < -180) sweep += 360;
    auto arc = arcPoints(c.x, c.y, r, r, fromDeg, fromDeg + sweep);
    out.insert(out.end(), arc.begin(), arc.end());
}

// One side of an open polyline, walking it in the given order: the outer
// side of a bend gets a round join, the inner side runs through the bend's
// own point so that the outline never folds back on itself.
static void appendSide(std::vector<Point>& out, const std::vector<Point>& pts, double h) {
    const size_t n = pts.size();
    std::vector<Point> normals;
    for (size_t i = 0; i + 1 < n; ++i) {
        const double dx = pts[i + 1].x - pts[i].x, dy = pts[i + 1].y - pts[i].y;
        const double len = std::sqrt(dx * dx + dy * dy);
        normals.push_back({-dy / len * h, dx / len * h});
    }
    out.push_back({pts[0].x + normals[0].x, pts[0].y + normals[0].y});
    for (size_t k = 1; k + 1 < n; ++k) {
        const Point a = normals[k - 1], b = normals[k];
        const double cross = a.x * b.y - a.y * b.x;
        const Point p = pts[k];
        if (cross < 0) {
            appendJoinArc(out, p, a, b, h);
        } else {
            out.push_back({p.x + a.x, p.y + a.y});
            out.push_back(p);
            out.push_back({p.x + b.x, p.y + b.y});
        }
    }
    const Point last = normals.back();
    out.push_back({pts[n - 1].x + last.x, pts[n - 1].y + last.y});
}

static void appendCap(std::vector<Point>& out, Point end, Point dir, double h, Cap cap) {
    // dir: unit direction leaving the line at this end; out already ends on the left side
    const Point left{-dir.y * h, dir.x * h};
    if (cap == Cap::Round) {
        appendJoinArc(out, end, left, Point{dir.x * h, dir.y * h}, h);
        appendJoinArc(out, end, Point{dir.x * h, dir.y * h}, Point{-left.x, -left.y}, h);
    } else if (cap == Cap::Square) {
        out.push_back({end.x + left.x + dir.x * h, end.y + left.y + dir.y * h});
        out.push_back({end.x - left.x + dir.x * h, end.y - left.y + dir.y * h});
    }
}

Path strokePath(const std::vector<Point>& input, double width, Cap cap, bool closed) {
    Path p;
    const double h = width / 2;
    std::vector<Point> pts;
    for (const Point& q : input)
        if (pts.empty() || q.x != pts.back().x || q.y != pts.back().y) pts.push_back(q);
    if (closed && pts.size() > 2 && pts.front().x == pts.back().x && pts.front().y == pts.back().y)
        pts.pop_back();
    if (pts.size() < 2) {
        if (!pts.empty() && cap == Cap::Round) p = circlePath(pts[0].x, pts[0].y, h);
        return p;
    }
    if (closed) {
        // each edge with round corners; the pieces overlap only inside the line
        for (size_t i = 0; i < pts.size(); ++i)
            p.append(strokePath({pts[i], pts[(i + 1) % pts.size()]}, width, Cap::Round));
        return p;
    }
    std::vector<Point> outline;
    appendSide(outline, pts, h);
    auto unit = [](Point a, Point b) {
        const double dx = b.x - a.x, dy = b.y - a.y, len = std::sqrt(dx * dx + dy * dy);
        return Point{dx / len, dy / len};
    };
    const size_t n = pts.size();
    appendCap(outline, pts[n - 1], unit(pts[n - 2], pts[n - 1]), h, cap);
    std::vector<Point> reversed(pts.rbegin(), pts.rend());
    appendSide(outline, reversed, h);
    appendCap(outline, pts[0], unit(pts[1], pts[0]), h, cap);
    p.addPolygon(outline);
    return p;
}

Point dialPoint(double cx, double cy, double r, double dialDeg) {
    const double a = detRadians(dialDeg);
    return {cx - detSin(a) * r, cy + detCos(a) * r};
}

Path dialBand(double cx, double cy, double outer, double inner, double fromDeg, double toDeg) {
    // dial angle d is screen angle d + 90
    auto out = arcPoints(cx, cy, outer, outer, fromDeg + 90, toDeg + 90);
    auto in = arcPoints(cx, cy, inner, inner, toDeg + 90, fromDeg + 90);
    out.insert(out.end(), in.begin(), in.end());
    return polygonPath(out);
}
