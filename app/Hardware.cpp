#include "Hardware.h"

#include "Settings.h"
#include "resource.h"

size_t CHardware::Exchange(ExchangeOp op, void* record) {
    Settings* s = static_cast<Settings*>(record);
    size_t size = 0;
    size += ExchangeChoice(op, this, &s->pulseCountChoices, &s->hardwarePulseCount, IDC_PULSE_COUNT);
    size += ExchangeReal(op, this, &s->hardwarePCorr, IDC_PCORR);
    size += ExchangeReal(op, this, &s->hardwareMCorr, IDC_MCORR);
    size += ExchangeText(op, this, &s->timeFormat, IDC_TIME_FORMAT);
    size += ExchangeReal(op, this, &s->mechanicsWheel, IDC_WHEEL);
    size += ExchangeReal(op, this, &s->mechanicsInertia, IDC_INERTIA);
    return size;
}
