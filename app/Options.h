#pragma once
// The options notebook ("CONFIG", "Optionen") on the program-wide Settings
// record: gauge ranges, recording, page layout, weather, evaluation defaults,
// serial port and the comment for the next recording.
#include "Notebook.h"

struct Settings;

class COptions : public CNotebook {
public:
    static constexpr UINT_PTR kWeatherTimer = 1;
    static constexpr UINT kWeatherPeriodMs = 500;

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCommand(UINT message, WPARAM wParam, LPARAM lParam) override;
    size_t Exchange(ExchangeOp op, void* record) override;
    int Validate(void* record) override;
    void OnInitDialog() override;

    // Disables the gear field while "auto" is ticked and the three weather
    // fields while "automatisch" is ticked.
    void ApplyEnabling();
    // While "automatisch" is ticked: the weather fields show the current
    // Weather/Temperature, Pressure and Humidity of the record.
    void RefreshWeather();

    // "automatisch" as the dialog shows it; the weather timer follows it.
    bool liveWeather = false;

private:
    Settings& record() const;
    void RunWeatherCalibration();
};

// Runs the options modally on theSettings() and answers the command that
// ended them (IDOK or IDCANCEL). Whatever the answer, the serial link is
// closed and opened again on Hardware/ComPort afterwards.
INT_PTR runOptions(HWND owner);
