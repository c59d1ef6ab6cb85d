#pragma once
// "Abgleich Wetter" ("WEATHERDLG"): offset and gain of the humidity,
// temperature and pressure sensors, applied by the controller protocol to
// every weather reading.
#include "Dlg.h"

struct Settings;

class CWeatherDlg : public CDlg {
public:
    size_t Exchange(ExchangeOp op, void* record) override;
};

// Runs the dialog on the six calibration values of `settings`; OK stores
// them there at once. Answers IDOK or IDCANCEL.
INT_PTR runWeatherCalibration(HWND owner, Settings& settings);
