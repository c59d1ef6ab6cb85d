#pragma once
// "Untersetzung ermitteln" ("CALCGEAR"): an engine speed read at a known road
// speed, from which the data editing derives the gear ratio.
#include "Dlg.h"

struct GearReading {
    double engineSpeed = 0.0;  // U/min
    double roadSpeed = 0.0;    // km/h
};

// At or below this road speed the roller barely turns and no ratio can be
// derived.
constexpr double kLowestGearSpeed = 1.0;  // km/h

// Engine revolutions per roller revolution: engine speed over the roller's
// revolutions per minute at that road speed.
double gearRatioFromSpeeds(double engineSpeed, double roadSpeed, double circumference);

class CCalcGear : public CDlg {
public:
    size_t Exchange(ExchangeOp op, void* record) override;
};

// Runs the dialog on `reading`; OK stores both values. Answers IDOK or IDCANCEL.
INT_PTR runCalcGear(HWND owner, GearReading& reading);
