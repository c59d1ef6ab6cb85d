#pragma once
// Drawing helpers for icons. Icons are designed on a 32-unit grid and drawn
// at 16, 32 and 48 pixels; edges are snapped to whole pixels and outlines are
// one pixel wide at every size, so the small sizes stay crisp.

#include <cmath>
#include <vector>

#include "Raster.h"
#include "Shapes.h"

// The shared palette of the program's pictograms: light from the upper left,
// one-pixel outlines a shade darker than the fill.
struct Palette {
    static Color ink() { return rgb(52, 60, 72); }
    static Color paperLine() { return rgb(112, 122, 138); }
    static Color paperTop() { return rgb(255, 255, 255); }
    static Color paperBottom() { return rgb(228, 233, 240); }
    static Color red() { return rgb(214, 48, 36); }
    static Color redDark() { return rgb(150, 26, 18); }
    static Color blue() { return rgb(38, 112, 204); }
    static Color blueDark() { return rgb(24, 70, 140); }
    static Color green() { return rgb(58, 160, 62); }
    static Color greenDark() { return rgb(30, 106, 36); }
    static Color amberLight() { return rgb(255, 216, 112); }
    static Color amber() { return rgb(238, 176, 52); }
    static Color amberDark() { return rgb(164, 110, 22); }
    static Color steelLight() { return rgb(226, 230, 236); }
    static Color steel() { return rgb(150, 158, 170); }
    static Color steelDark() { return rgb(74, 82, 94); }
    static Color glass() { return rgb(196, 226, 250); }
};

std::vector<Point> insetPolygon(const std::vector<Point>& convex, double d);

class Icon {
public:
    explicit Icon(Canvas& canvas) : c(canvas), size(canvas.width()), s(canvas.width() / 32.0) {}

    Canvas& c;
    int size;
    double s;

    double u(double v) const { return v * s; }
    double snap(double v) const { return std::round(v * s); }
    double mid(double v) const { return std::floor(v * s) + 0.5; }  // centre of a one-pixel line
    double pick(double at16, double at32, double at48) const { return size <= 16 ? at16 : size <= 32 ? at32 : at48; }
    bool small() const { return size <= 16; }
    Point p(double x, double y) const { return {u(x), u(y)}; }
    Point sp(double x, double y) const { return {snap(x), snap(y)}; }
    std::vector<Point> sps(std::initializer_list<Point> unitPoints) const;

    Paint vertical(double y0, double y1, Color top, Color bottom) const;
    Paint diagonal(double x0, double y0, double x1, double y1, Color from, Color to) const;

    // Convex polygon (unit corners snapped to pixels) with a one-pixel outline.
    void outlined(const std::vector<Point>& pixelCorners, Color line, const Paint& fill, double width = 1) const;
    void outlinedRect(double x0, double y0, double x1, double y1, double radius, Color line, const Paint& fill,
                      double width = 1) const;
    void outlinedCircle(double cx, double cy, double r, Color line, const Paint& fill, double width = 1) const;
    // Any shape in pixels with a one-pixel outline (the fill is the shape shrunk by a pixel).
    void outlinedPath(const Path& path, Color line, const Paint& fill) const;
    // A polyline in units, `width` pixels thick.
    void line(std::initializer_list<Point> unitPoints, double width, Color color, Cap cap = Cap::Round) const;
};
