#pragma once
// The generator's own anti-aliased rasteriser: closed polygons are scan
// converted into exact per-pixel area coverage (a signed-area accumulation
// buffer), then painted with a solid colour or a gradient, source over, into
// a canvas of premultiplied RGBA in double precision.

#include <cstdint>
#include <functional>
#include <vector>

struct Color {
    double r = 0, g = 0, b = 0, a = 0;  // straight alpha, sRGB values 0..1
};

Color rgb(int r, int g, int b, double a = 1.0);
Color withAlpha(Color c, double a);
Color mix(Color from, Color to, double t);  // t = 0 gives from
Color lighter(Color c, double amount);      // towards white
Color darker(Color c, double amount);       // towards black

struct Point {
    double x = 0, y = 0;
};

// A fill area made of closed polygons. Polygons added with addPolygon are
// united whatever their orientation; holes cut out of what lies under them.
class Path {
public:
    void addPolygon(std::vector<Point> points);
    void addHole(std::vector<Point> points);
    void addRaw(std::vector<Point> points);  // keeps the orientation given
    void append(const Path& other);
    const std::vector<std::vector<Point>>& polygons() const { return polygons_; }
    bool empty() const { return polygons_.empty(); }

private:
    std::vector<std::vector<Point>> polygons_;
};

// Coverage of every pixel, 0..1.
class Mask {
public:
    Mask(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    double at(int x, int y) const { return cover_[static_cast<size_t>(y) * width_ + x]; }
    double& at(int x, int y) { return cover_[static_cast<size_t>(y) * width_ + x]; }
    void blur(int radius);                  // three box passes, close to a Gaussian
    void multiply(const Mask& other);       // intersection
    void subtract(const Mask& other);       // this minus other
    void shift(int dx, int dy);
    Mask eroded() const;                    // shrunk by about one pixel

private:
    int width_, height_;
    std::vector<double> cover_;
};

Mask rasterize(const Path& path, int width, int height);

struct ColorStop {
    double t;
    Color color;
};

// What a fill puts on each covered pixel, asked at the pixel's centre.
class Paint {
public:
    static Paint solid(Color c);
    static Paint linear(Point from, Point to, std::vector<ColorStop> stops);
    static Paint radial(Point centre, double rx, double ry, std::vector<ColorStop> stops);
    // Around a centre, t = 0 at startDegrees (0 = right, clockwise on screen)
    // growing clockwise to 1 after a full turn.
    static Paint conic(Point centre, double startDegrees, std::vector<ColorStop> stops);
    static Paint custom(std::function<Color(double x, double y)> f);
    Color at(double x, double y) const;

private:
    enum class Kind { Solid, Linear, Radial, Conic, Custom } kind_ = Kind::Solid;
    Color color_;
    Point p0_, p1_;
    double rx_ = 1, ry_ = 1, start_ = 0;
    std::vector<ColorStop> stops_;
    std::function<Color(double, double)> custom_;
    Color stopColor(double t) const;
};

struct Rgba8 {
    uint8_t r = 0, g = 0, b = 0, a = 0;
};

class Canvas {
public:
    Canvas(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }

    void clear(Color c);
    void fill(const Path& path, const Paint& paint, double opacity = 1.0);
    void fill(const Path& path, Color c, double opacity = 1.0) { fill(path, Paint::solid(c), opacity); }
    void fillMask(const Mask& mask, const Paint& paint, double opacity = 1.0);
    void erase(const Path& path);  // destination out
    // A soft shadow of a shape, offset and blurred, painted under what follows.
    void shadow(const Path& path, Color c, int dx, int dy, int blurRadius);
    // Source over with another canvas at (x, y), each source pixel scale x scale.
    void draw(const Canvas& source, int x, int y, int scale = 1, double opacity = 1.0);
    // Source over with another canvas stretched into the rectangle (x, y, w, h),
    // sampled bilinearly; parts outside this canvas are dropped.
    void drawStretched(const Canvas& source, double x, double y, double w, double h, double opacity = 1.0);

    Color pixel(int x, int y) const;  // straight alpha
    void setPixel(int x, int y, Color c);
    Canvas crop(int x, int y, int w, int h) const;
    Rgba8 straight8(int x, int y) const;
    Rgba8 premultiplied8(int x, int y) const;

private:
    struct Px {
        double r, g, b, a;  // premultiplied
    };
    void blend(int x, int y, Color c, double coverage);
    // The path's coverage over the part of the canvas its bounds touch.
    bool rasterizeLocal(const Path& path, int& x0, int& y0, Mask& mask) const;
    int width_, height_;
    std::vector<Px> px_;
};

uint8_t toByte(double v);  // 0..1 rounded to 0..255
