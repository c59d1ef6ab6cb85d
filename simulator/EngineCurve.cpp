#include "EngineCurve.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

EngineCurve::EngineCurve() {
    setPoints({{800, 95}, {1500, 112}, {2500, 128}, {3500, 136}, {4500, 134}, {5500, 122}, {6500, 100}, {7500, 70}});
}

bool EngineCurve::setPoints(const std::vector<Point>& points) {
    if (points.size() < 2) return false;
    for (size_t i = 1; i < points.size(); ++i)
        if (!(points[i].rpm > points[i - 1].rpm)) return false;
    points_ = points;
    // Fritsch-Carlson slopes: harmonic mean of the neighbouring secants, zero
    // at a local extremum, so the curve never swings beyond its points
    const size_t n = points_.size();
    std::vector<double> secant(n - 1);
    for (size_t i = 0; i + 1 < n; ++i)
        secant[i] = (points_[i + 1].torque - points_[i].torque) / (points_[i + 1].rpm - points_[i].rpm);
    slopes_.assign(n, 0.0);
    slopes_[0] = secant[0];
    slopes_[n - 1] = secant[n - 2];
    for (size_t i = 1; i + 1 < n; ++i) {
        if (secant[i - 1] * secant[i] <= 0) continue;
        const double h0 = points_[i].rpm - points_[i - 1].rpm;
        const double h1 = points_[i + 1].rpm - points_[i].rpm;
        const double w0 = 2 * h1 + h0, w1 = h1 + 2 * h0;
        slopes_[i] = (w0 + w1) / (w0 / secant[i - 1] + w1 / secant[i]);
    }
    return true;
}

bool EngineCurve::parse(const std::string& text) {
    std::vector<Point> points;
    const char* p = text.c_str();
    while (*p) {
        char* end = nullptr;
        const double rpm = std::strtod(p, &end);
        if (end == p || *end != ':') return false;
        p = end + 1;
        const double torque = std::strtod(p, &end);
        if (end == p) return false;
        points.push_back({rpm, torque});
        p = end;
        if (*p == ',') ++p;
        else if (*p) return false;
    }
    return setPoints(points);
}

double EngineCurve::torque(double rpm) const {
    if (rpm <= points_.front().rpm) return points_.front().torque;
    if (rpm >= points_.back().rpm) return points_.back().torque;
    size_t i = 1;
    while (points_[i].rpm < rpm) ++i;
    const Point& a = points_[i - 1];
    const Point& b = points_[i];
    const double h = b.rpm - a.rpm;
    const double t = (rpm - a.rpm) / h;
    const double t2 = t * t, t3 = t2 * t;
    return (2 * t3 - 3 * t2 + 1) * a.torque + (t3 - 2 * t2 + t) * h * slopes_[i - 1] + (-2 * t3 + 3 * t2) * b.torque +
           (t3 - t2) * h * slopes_[i];
}

double EngineCurve::peakTorque() const {
    double peak = points_.front().torque;
    for (const Point& p : points_) peak = std::max(peak, p.torque);
    return peak;
}
