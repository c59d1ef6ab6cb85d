#include "Raster.h"

#include <algorithm>
#include <cmath>

#include "DetMath.h"

Color rgb(int r, int g, int b, double a) { return {r / 255.0, g / 255.0, b / 255.0, a}; }

Color withAlpha(Color c, double a) {
    c.a = a;
    return c;
}

Color mix(Color from, Color to, double t) {
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
            from.a + (to.a - from.a) * t};
}

Color lighter(Color c, double amount) { return mix(c, Color{1, 1, 1, c.a}, amount); }
Color darker(Color c, double amount) { return mix(c, Color{0, 0, 0, c.a}, amount); }

uint8_t toByte(double v) {
    const double scaled = std::floor(v * 255.0 + 0.5);
    return static_cast<uint8_t>(std::clamp(scaled, 0.0, 255.0));
}

// ---- Path ----

static double signedArea(const std::vector<Point>& p) {
    double sum = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        const Point& a = p[i];
        const Point& b = p[(i + 1) % p.size()];
        sum += a.x * b.y - b.x * a.y;
    }
    return sum / 2;
}

void Path::addPolygon(std::vector<Point> points) {
    if (points.size() < 3) return;
    if (signedArea(points) < 0) std::reverse(points.begin(), points.end());
    polygons_.push_back(std::move(points));
}

void Path::addHole(std::vector<Point> points) {
    if (points.size() < 3) return;
    if (signedArea(points) > 0) std::reverse(points.begin(), points.end());
    polygons_.push_back(std::move(points));
}

void Path::addRaw(std::vector<Point> points) {
    if (points.size() >= 3) polygons_.push_back(std::move(points));
}

void Path::append(const Path& other) {
    polygons_.insert(polygons_.end(), other.polygons_.begin(), other.polygons_.end());
}

// ---- Mask ----

Mask::Mask(int width, int height)
    : width_(width), height_(height), cover_(static_cast<size_t>(width) * height, 0.0) {}

static void boxPass(std::vector<double>& data, int count, int stride, int lines, int lineStride, int radius) {
    std::vector<double> line(count);
    const double scale = 1.0 / (2 * radius + 1);
    for (int l = 0; l < lines; ++l) {
        double* base = data.data() + static_cast<size_t>(l) * lineStride;
        for (int i = 0; i < count; ++i) line[i] = base[static_cast<size_t>(i) * stride];
        double sum = 0;
        for (int i = -radius; i <= radius; ++i)
            if (i >= 0 && i < count) sum += line[i];
        for (int i = 0; i < count; ++i) {
            base[static_cast<size_t>(i) * stride] = sum * scale;
            const int out = i - radius, in = i + radius + 1;
            if (out >= 0) sum -= line[out];
            if (in < count) sum += line[in];
        }
    }
}

void Mask::blur(int radius) {
    if (radius <= 0) return;
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(cover_, width_, 1, height_, width_, radius);
        boxPass(cover_, height_, width_, width_, 1, radius);
    }
}

void Mask::multiply(const Mask& other) {
    for (size_t i = 0; i < cover_.size(); ++i) cover_[i] *= other.cover_[i];
}

void Mask::subtract(const Mask& other) {
    for (size_t i = 0; i < cover_.size(); ++i) cover_[i] = std::max(0.0, cover_[i] - other.cover_[i]);
}

void Mask::shift(int dx, int dy) {
    std::vector<double> moved(cover_.size(), 0.0);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const int sx = x - dx, sy = y - dy;
            if (sx >= 0 && sx < width_ && sy >= 0 && sy < height_)
                moved[static_cast<size_t>(y) * width_ + x] = cover_[static_cast<size_t>(sy) * width_ + sx];
        }
    cover_.swap(moved);
}

Mask Mask::eroded() const {
    // the smallest coverage of each pixel and its four neighbours
    Mask out(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            double m = at(x, y);
            if (x > 0) m = std::min(m, at(x - 1, y));
            if (x + 1 < width_) m = std::min(m, at(x + 1, y));
            if (y > 0) m = std::min(m, at(x, y - 1));
            if (y + 1 < height_) m = std::min(m, at(x, y + 1));
            out.at(x, y) = m;
        }
    return out;
}

// ---- Scan conversion ----
// Every edge adds its signed share of each pixel's area to an accumulation
// buffer; a running sum along each row then gives the exact covered area.

class Accumulator {
public:
    Accumulator(int width, int height)
        : w_(width), h_(height), acc_(static_cast<size_t>(width + 2) * height, 0.0) {}

    void edge(Point a, Point b) {
        // split where the edge crosses x = 0 or x = w, then flatten the parts
        // outside onto those borders: they still count for the rows they span
        double cuts[2];
        int n = 0;
        if ((a.x < 0) != (b.x < 0)) cuts[n++] = (0 - a.x) / (b.x - a.x);
        if ((a.x < w_) != (b.x < w_)) cuts[n++] = (w_ - a.x) / (b.x - a.x);
        if (n == 2 && cuts[0] > cuts[1]) std::swap(cuts[0], cuts[1]);
        Point from = a;
        for (int i = 0; i <= n; ++i) {
            Point to = b;
            if (i < n) to = Point{a.x + (b.x - a.x) * cuts[i], a.y + (b.y - a.y) * cuts[i]};
            line(clampX(from), clampX(to));
            from = to;
        }
    }

    Mask finish() const {
        Mask mask(w_, h_);
        for (int y = 0; y < h_; ++y) {
            const double* row = acc_.data() + static_cast<size_t>(y) * (w_ + 2);
            double sum = 0;
            for (int x = 0; x < w_; ++x) {
                sum += row[x];
                // polygons are stored with positive signed area, which runs
                // up the left edge: inside, the running sum is negative
                mask.at(x, y) = std::clamp(-sum, 0.0, 1.0);
            }
        }
        return mask;
    }

private:
    Point clampX(Point p) const { return {std::clamp(p.x, 0.0, static_cast<double>(w_)), p.y}; }

    void line(Point p0, Point p1) {
        if (p0.y == p1.y) return;
        double dir = 1.0;
        if (p0.y > p1.y) {
            std::swap(p0, p1);
            dir = -1.0;
        }
        const double dxdy = (p1.x - p0.x) / (p1.y - p0.y);
        double x = p0.x;
        if (p0.y < 0) x -= p0.y * dxdy;
        const int yStart = std::max(0, static_cast<int>(std::floor(p0.y)));
        const int yEnd = std::min(h_, static_cast<int>(std::ceil(p1.y)));
        for (int y = yStart; y < yEnd; ++y) {
            double* row = acc_.data() + static_cast<size_t>(y) * (w_ + 2);
            const double dy = std::min(y + 1.0, p1.y) - std::max(static_cast<double>(y), p0.y);
            double xNext = x + dxdy * dy;
            xNext = std::clamp(xNext, 0.0, static_cast<double>(w_));
            const double d = dy * dir;
            const double x0 = std::min(x, xNext), x1 = std::max(x, xNext);
            const double x0Floor = std::floor(x0);
            const int x0i = static_cast<int>(x0Floor);
            const double x1Ceil = std::ceil(x1);
            const int x1i = static_cast<int>(x1Ceil);
            if (x1i <= x0i + 1) {
                const double xmf = 0.5 * (x + xNext) - x0Floor;
                row[x0i] += d - d * xmf;
                row[x0i + 1] += d * xmf;
            } else {
                const double s = 1.0 / (x1 - x0);
                const double x0f = x0 - x0Floor;
                const double a0 = 0.5 * s * (1.0 - x0f) * (1.0 - x0f);
                const double x1f = x1 - x1Ceil + 1.0;
                const double am = 0.5 * s * x1f * x1f;
                row[x0i] += d * a0;
                if (x1i == x0i + 2) {
                    row[x0i + 1] += d * (1.0 - a0 - am);
                } else {
                    const double a1 = s * (1.5 - x0f);
                    row[x0i + 1] += d * (a1 - a0);
                    for (int xi = x0i + 2; xi < x1i - 1; ++xi) row[xi] += d * s;
                    const double a2 = a1 + (x1i - x0i - 3) * s;
                    row[x1i - 1] += d * (1.0 - a2 - am);
                }
                row[x1i] += d * am;
            }
            x = xNext;
        }
    }

    int w_, h_;
    std::vector<double> acc_;
};

Mask rasterize(const Path& path, int width, int height) {
    Accumulator acc(width, height);
    for (const auto& poly : path.polygons())
        for (size_t i = 0; i < poly.size(); ++i) acc.edge(poly[i], poly[(i + 1) % poly.size()]);
    return acc.finish();
}

// ---- Paint ----

Paint Paint::solid(Color c) {
    Paint p;
    p.kind_ = Kind::Solid;
    p.color_ = c;
    return p;
}

Paint Paint::linear(Point from, Point to, std::vector<ColorStop> stops) {
    Paint p;
    p.kind_ = Kind::Linear;
    p.p0_ = from;
    p.p1_ = to;
    p.stops_ = std::move(stops);
    return p;
}

Paint Paint::radial(Point centre, double rx, double ry, std::vector<ColorStop> stops) {
    Paint p;
    p.kind_ = Kind::Radial;
    p.p0_ = centre;
    p.rx_ = rx;
    p.ry_ = ry;
    p.stops_ = std::move(stops);
    return p;
}

Paint Paint::conic(Point centre, double startDegrees, std::vector<ColorStop> stops) {
    Paint p;
    p.kind_ = Kind::Conic;
    p.p0_ = centre;
    p.start_ = startDegrees;
    p.stops_ = std::move(stops);
    return p;
}

Paint Paint::custom(std::function<Color(double, double)> f) {
    Paint p;
    p.kind_ = Kind::Custom;
    p.custom_ = std::move(f);
    return p;
}

// Stops are interpolated premultiplied, so a fade to transparent keeps its hue.
Color Paint::stopColor(double t) const {
    if (stops_.empty()) return color_;
    if (t <= stops_.front().t) return stops_.front().color;
    if (t >= stops_.back().t) return stops_.back().color;
    for (size_t i = 1; i < stops_.size(); ++i) {
        if (t > stops_[i].t) continue;
        const ColorStop& a = stops_[i - 1];
        const ColorStop& b = stops_[i];
        const double f = b.t > a.t ? (t - a.t) / (b.t - a.t) : 1.0;
        const double alpha = a.color.a + (b.color.a - a.color.a) * f;
        if (alpha <= 0) return Color{};
        auto channel = [&](double ca, double cb) {
            return (ca * a.color.a + (cb * b.color.a - ca * a.color.a) * f) / alpha;
        };
        return {channel(a.color.r, b.color.r), channel(a.color.g, b.color.g), channel(a.color.b, b.color.b),
                alpha};
    }
    return stops_.back().color;
}

Color Paint::at(double x, double y) const {
    switch (kind_) {
    case Kind::Solid:
        return color_;
    case Kind::Linear: {
        const double dx = p1_.x - p0_.x, dy = p1_.y - p0_.y;
        const double len2 = dx * dx + dy * dy;
        const double t = len2 > 0 ? ((x - p0_.x) * dx + (y - p0_.y) * dy) / len2 : 0.0;
        return stopColor(t);
    }
    case Kind::Radial: {
        const double nx = (x - p0_.x) / rx_, ny = (y - p0_.y) / ry_;
        return stopColor(std::sqrt(nx * nx + ny * ny));
    }
    case Kind::Conic: {
        double a = detAtan2(y - p0_.y, x - p0_.x) * 180.0 / kPi - start_;
        a -= std::floor(a / 360.0) * 360.0;
        return stopColor(a / 360.0);
    }
    case Kind::Custom:
        return custom_(x, y);
    }
    return color_;
}

// ---- Canvas ----

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), px_(static_cast<size_t>(width) * height, Px{0, 0, 0, 0}) {}

void Canvas::clear(Color c) {
    for (auto& p : px_) p = Px{c.r * c.a, c.g * c.a, c.b * c.a, c.a};
}

void Canvas::blend(int x, int y, Color c, double coverage) {
    const double sa = c.a * coverage;
    if (sa <= 0) return;
    Px& d = px_[static_cast<size_t>(y) * width_ + x];
    const double keep = 1.0 - sa;
    d.r = c.r * sa + d.r * keep;
    d.g = c.g * sa + d.g * keep;
    d.b = c.b * sa + d.b * keep;
    d.a = sa + d.a * keep;
}

void Canvas::fillMask(const Mask& mask, const Paint& paint, double opacity) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const double cover = mask.at(x, y) * opacity;
            if (cover > 0) blend(x, y, paint.at(x + 0.5, y + 0.5), cover);
        }
}

bool Canvas::rasterizeLocal(const Path& path, int& x0, int& y0, Mask& mask) const {
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (const auto& poly : path.polygons())
        for (const Point& p : poly) {
            minX = std::min(minX, p.x);
            minY = std::min(minY, p.y);
            maxX = std::max(maxX, p.x);
            maxY = std::max(maxY, p.y);
        }
    x0 = std::max(0, static_cast<int>(std::floor(minX)));
    y0 = std::max(0, static_cast<int>(std::floor(minY)));
    const int x1 = std::min(width_, static_cast<int>(std::ceil(maxX)));
    const int y1 = std::min(height_, static_cast<int>(std::ceil(maxY)));
    if (x0 >= x1 || y0 >= y1) return false;
    Path local;
    for (const auto& poly : path.polygons()) {
        std::vector<Point> pts;
        for (const Point& p : poly) pts.push_back({p.x - x0, p.y - y0});
        local.addRaw(std::move(pts));
    }
    mask = rasterize(local, x1 - x0, y1 - y0);
    return true;
}

void Canvas::fill(const Path& path, const Paint& paint, double opacity) {
    int x0, y0;
    Mask mask(0, 0);
    if (!rasterizeLocal(path, x0, y0, mask)) return;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x) {
            const double cover = mask.at(x, y) * opacity;
            if (cover > 0) blend(x0 + x, y0 + y, paint.at(x0 + x + 0.5, y0 + y + 0.5), cover);
        }
}

void Canvas::erase(const Path& path) {
    int x0, y0;
    Mask mask(0, 0);
    if (!rasterizeLocal(path, x0, y0, mask)) return;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x) {
            const double keep = 1.0 - mask.at(x, y);
            Px& d = px_[static_cast<size_t>(y0 + y) * width_ + x0 + x];
            d = Px{d.r * keep, d.g * keep, d.b * keep, d.a * keep};
        }
}

void Canvas::shadow(const Path& path, Color c, int dx, int dy, int blurRadius) {
    // rasterised with a margin so that the blur fades out past the canvas edge
    const int m = 3 * blurRadius + std::max(std::abs(dx), std::abs(dy));
    Path moved;
    for (const auto& poly : path.polygons()) {
        std::vector<Point> pts;
        for (const Point& p : poly) pts.push_back({p.x + dx + m, p.y + dy + m});
        moved.addPolygon(pts);
    }
    Mask big = rasterize(moved, width_ + 2 * m, height_ + 2 * m);
    big.blur(blurRadius);
    Mask mask(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) mask.at(x, y) = big.at(x + m, y + m);
    fillMask(mask, Paint::solid(c));
}

void Canvas::draw(const Canvas& source, int x, int y, int scale, double opacity) {
    for (int sy = 0; sy < source.height_; ++sy)
        for (int sx = 0; sx < source.width_; ++sx) {
            const Color c = source.pixel(sx, sy);
            for (int j = 0; j < scale; ++j)
                for (int i = 0; i < scale; ++i) {
                    const int tx = x + sx * scale + i, ty = y + sy * scale + j;
                    if (tx >= 0 && ty >= 0 && tx < width_ && ty < height_) blend(tx, ty, c, opacity);
                }
        }
}

void Canvas::drawStretched(const Canvas& source, double x, double y, double w, double h, double opacity) {
    if (w <= 0 || h <= 0) return;
    const int x0 = std::max(0, static_cast<int>(std::floor(x)));
    const int y0 = std::max(0, static_cast<int>(std::floor(y)));
    const int x1 = std::min(width_, static_cast<int>(std::ceil(x + w)));
    const int y1 = std::min(height_, static_cast<int>(std::ceil(y + h)));
    for (int ty = y0; ty < y1; ++ty)
        for (int tx = x0; tx < x1; ++tx) {
            const double u = (tx + 0.5 - x) / w * source.width_ - 0.5;
            const double v = (ty + 0.5 - y) / h * source.height_ - 0.5;
            const int iu = static_cast<int>(std::floor(u)), iv = static_cast<int>(std::floor(v));
            const double fu = u - iu, fv = v - iv;
            Px sum{0, 0, 0, 0};
            for (int j = 0; j < 2; ++j)
                for (int i = 0; i < 2; ++i) {
                    const int su = std::clamp(iu + i, 0, source.width_ - 1);
                    const int sv = std::clamp(iv + j, 0, source.height_ - 1);
                    const double f = (i ? fu : 1 - fu) * (j ? fv : 1 - fv);
                    const Px& p = source.px_[static_cast<size_t>(sv) * source.width_ + su];
                    sum.r += p.r * f;
                    sum.g += p.g * f;
                    sum.b += p.b * f;
                    sum.a += p.a * f;
                }
            if (sum.a <= 0) continue;
            blend(tx, ty, Color{sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, sum.a}, opacity);
        }
}

void Canvas::setPixel(int x, int y, Color c) {
    px_[static_cast<size_t>(y) * width_ + x] = Px{c.r * c.a, c.g * c.a, c.b * c.a, c.a};
}

Canvas Canvas::crop(int x, int y, int w, int h) const {
    Canvas out(w, h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (x + i >= 0 && y + j >= 0 && x + i < width_ && y + j < height_)
                out.px_[static_cast<size_t>(j) * w + i] = px_[static_cast<size_t>(y + j) * width_ + x + i];
    return out;
}

Color Canvas::pixel(int x, int y) const {
    const Px& p = px_[static_cast<size_t>(y) * width_ + x];
    if (p.a <= 0) return Color{};
    return {p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

Rgba8 Canvas::straight8(int x, int y) const {
    const Color c = pixel(x, y);
    Rgba8 out;
    out.a = toByte(c.a);
    if (out.a == 0) return Rgba8{};
    out.r = toByte(c.r);
    out.g = toByte(c.g);
    out.b = toByte(c.b);
    return out;
}

Rgba8 Canvas::premultiplied8(int x, int y) const {
    const Px& p = px_[static_cast<size_t>(y) * width_ + x];
    Rgba8 out;
    out.a = toByte(p.a);
    out.r = std::min(toByte(p.r), out.a);
    out.g = std::min(toByte(p.g), out.a);
    out.b = std::min(toByte(p.b), out.a);
    return out;
}
