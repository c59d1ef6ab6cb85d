#pragma once
// "Einstellungen" ("CORRECT"): the evaluation choices of one diagram window,
// power at the engine or the axle, the atmospheric correction and the time
// after the engine-speed maximum at which the drive-train loss is read.
#include "Dlg.h"

struct EvaluationOptions;

class CCorr : public CDlg {
public:
    size_t Exchange(ExchangeOp op, void* record) override;
};

// Runs the dialog on a diagram window's options; OK stores the choices there
// (the caller then re-evaluates and redraws). Answers IDOK or IDCANCEL.
INT_PTR runCorrection(HWND owner, EvaluationOptions& options);
