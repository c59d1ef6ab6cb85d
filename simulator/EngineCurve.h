#pragma once
// The simulated engine's full-load torque over engine speed: a table of
// points joined by a shape-preserving cubic (no overshoot between points,
// continuous slope), held constant beyond the first and last point.
#include <string>
#include <vector>

class EngineCurve {
public:
    struct Point {
        double rpm;
        double torque;  // Nm at the crankshaft
    };

    EngineCurve();  // the default engine, about 70 kW
    // Points in ascending engine speed; false (curve unchanged) otherwise.
    bool setPoints(const std::vector<Point>& points);
    // "RPM:NM,RPM:NM,..." as given on the command line.
    bool parse(const std::string& text);

    double torque(double rpm) const;
    double peakTorque() const;
    const std::vector<Point>& points() const { return points_; }

private:
    std::vector<Point> points_;
    std::vector<double> slopes_;  // dT/dN at each point
};
