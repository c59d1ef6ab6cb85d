#pragma once
// Outlines of the shapes the pictures are made of, as closed polygons ready
// for Canvas::fill. Curves are flattened finely enough that no facet shows.

#include <vector>

#include "Raster.h"

enum class Cap { Butt, Square, Round };

Path rectPath(double x0, double y0, double x1, double y1);
Path roundRectPath(double x0, double y0, double x1, double y1, double radius);
Path ellipsePath(double cx, double cy, double rx, double ry);
Path circlePath(double cx, double cy, double r);
Path ringPath(double cx, double cy, double outer, double inner);
Path polygonPath(std::vector<Point> points);

// A thick line through the points with round joins (miter-free, so sharp
// bends never spike).
Path strokePath(const std::vector<Point>& points, double width, Cap cap = Cap::Butt, bool closed = false);
Path linePath(Point a, Point b, double width, Cap cap = Cap::Butt);

// Points on a circle or ellipse between two angles, screen convention:
// 0 degrees points right, angles grow clockwise.
std::vector<Point> arcPoints(double cx, double cy, double rx, double ry, double fromDeg, double toDeg);

// The dial convention of the instruments: 0 degrees points straight down,
// angles grow clockwise (45 is lower left, 180 the top, 315 lower right).
Point dialPoint(double cx, double cy, double r, double dialDeg);
// A band of a ring between two dial angles.
Path dialBand(double cx, double cy, double outer, double inner, double fromDeg, double toDeg);

// Segments for a full circle of radius r so that no facet is visible.
int circleSegments(double r);
