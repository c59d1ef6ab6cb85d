#include "Correction.h"

#include "EvaluationOptions.h"
#include "resource.h"

size_t CCorr::Exchange(ExchangeOp op, void* values) {
    EvaluationOptions& o = *static_cast<EvaluationOptions*>(values);
    size_t n = 0;
    n += ExchangeChoice(op, this, o.powerModeItems, &o.powerMode, IDC_POWER_MODE);
    n += ExchangeChoice(op, this, o.correctionItems, &o.correction, IDC_CORRECTION);
    n += ExchangeReal(op, this, &o.lossTime, IDC_LOSSTIME);
    n += ExchangeChoice(op, this, o.smoothingItems, &o.smoothing, IDC_SMOOTHING);
    return n;
}

INT_PTR runCorrection(HWND owner, EvaluationOptions& options) {
    return DoModal(new CCorr, &options, L"CORRECT", owner);
}
