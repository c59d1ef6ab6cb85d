#include "CalcGear.h"

#include "resource.h"

namespace {

constexpr double kKmhPerMetrePerSecond = 3.6;
constexpr double kSecondsPerMinute = 60.0;

}  // namespace

double gearRatioFromSpeeds(double engineSpeed, double roadSpeed, double circumference) {
    double rollerRpm = roadSpeed / circumference / kKmhPerMetrePerSecond * kSecondsPerMinute;
    return engineSpeed / rollerRpm;
}

size_t CCalcGear::Exchange(ExchangeOp op, void* values) {
    GearReading& r = *static_cast<GearReading*>(values);
    size_t n = 0;
    n += ExchangeReal(op, this, &r.engineSpeed, IDC_RPM_MAX);
    n += ExchangeReal(op, this, &r.roadSpeed, IDC_SPEED_MAX);
    return n;
}

INT_PTR runCalcGear(HWND owner, GearReading& reading) {
    return DoModal(new CCalcGear, &reading, L"CALCGEAR", owner);
}
