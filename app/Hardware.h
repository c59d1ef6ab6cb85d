#pragma once
// CHardware: the dialog "HARDWARE" for the test stand itself: roller pulses
// per revolution, the power and torque correction factors, the time format
// of the printout, roller circumference and moment of inertia. It edits the
// program's settings; they reach KALTRNX.INI at program end.
#include "Dlg.h"

class CHardware : public CDlg {
public:
    // record: the Settings
    size_t Exchange(ExchangeOp op, void* record) override;
};
