#include "Options.h"

#include <cstdint>

#include "Settings.h"
#include "SerialLink.h"
#include "WeatherDlg.h"
#include "resource.h"

namespace {

constexpr uint16_t kSpeedMinLimit = 10000;  // km/h
constexpr uint16_t kRpmMinLimit = 30000;    // U/min

void ShowUnsigned(HWND dialog, int controlId, int16_t value) {
    SetDlgItemInt(dialog, controlId, static_cast<uint16_t>(value), FALSE);
}

void ShowSigned(HWND dialog, int controlId, int16_t value) {
    SetDlgItemInt(dialog, controlId, static_cast<UINT>(static_cast<int>(value)), TRUE);
}

}  // namespace

Settings& COptions::record() const {
    return *static_cast<Settings*>(data.get());
}

LRESULT COptions::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam == kWeatherTimer) {
            RefreshWeather();
            return 0;
        }
        break;
    case WM_DESTROY:
        KillTimer(hwnd, kWeatherTimer);
        break;
    }
    return CNotebook::WndProc(message, wParam, lParam);
}

void COptions::OnInitDialog() {
    CNotebook::OnInitDialog();
    ApplyEnabling();
    SetTimer(hwnd, kWeatherTimer, kWeatherPeriodMs, nullptr);
}

// The fields from Speed/min up to the comment for the next recording, in the
// order of the settings table.
size_t COptions::Exchange(ExchangeOp op, void* values) {
    Settings& s = *static_cast<Settings*>(values);
    size_t n = 0;
    n += ExchangeInteger(op, this, &s.speedMin, IDC_SPEED_MIN);
    n += ExchangeInteger(op, this, &s.speedMax, IDC_SPEED_MAX);
    n += ExchangeInteger(op, this, &s.rpmMin, IDC_RPM_MIN);
    n += ExchangeInteger(op, this, &s.rpmMax, IDC_RPM_MAX);
    n += ExchangeInteger(op, this, &s.recordPeriod, IDC_PERIOD);
    n += ExchangeInteger(op, this, &s.recordStartVal, IDC_START_VAL);
    n += ExchangeChoice(op, this, &s.startModeChoices, &s.recordStartMode, IDC_START_MODE);
    n += ExchangeInteger(op, this, &s.bordersLeft, IDC_BORDER_LEFT);
    n += ExchangeInteger(op, this, &s.bordersTop, IDC_BORDER_TOP);
    n += ExchangeInteger(op, this, &s.bordersRight, IDC_BORDER_RIGHT);
    n += ExchangeInteger(op, this, &s.bordersBottom, IDC_BORDER_BOTTOM);
    n += ExchangeText(op, this, &s.pageHeadline, IDC_HEADLINE);
    n += ExchangeText(op, this, &s.fontName, IDC_FONT_NAME);
    n += ExchangeInteger(op, this, &s.fontHeight, IDC_FONT_HEIGHT);
    n += ExchangeSignedInteger(op, this, &s.weatherTemperature, IDC_TEMPERATURE);
    n += ExchangeInteger(op, this, &s.weatherPressure, IDC_PRESSURE);
    n += ExchangeInteger(op, this, &s.weatherHumidity, IDC_HUMIDITY);
    n += ExchangeCheck(op, this, &s.weatherAuto, IDC_WEATHER_AUTO);
    n += ExchangeChoice(op, this, &s.powerModeChoices, &s.graphPowerMode, IDC_POWER_MODE);
    n += ExchangeChoice(op, this, &s.powerUnitChoices, &s.graphPowerUnit, IDC_POWER_UNIT);
    n += ExchangeChoice(op, this, &s.correctionChoices, &s.graphCorrection, IDC_CORRECTION);
    n += ExchangeReal(op, this, &s.graphLosstime, IDC_LOSSTIME);
    n += ExchangeChoice(op, this, &s.smoothingChoices, &s.graphSmoothing, IDC_SMOOTHING);
    n += ExchangeChoice(op, this, &s.relationChoices, &s.recordRelation, IDC_RELATION);
    n += ExchangeInteger(op, this, &s.hardwareComPort, IDC_COM_PORT);
    n += ExchangeReal(op, this, &s.recordGear, IDC_GEAR);
    n += ExchangeCheck(op, this, &s.recordGearAuto, IDC_GEAR_AUTO);
    n += ExchangeChoice(op, this, &s.resumeModeChoices, &s.recordResumeMode, IDC_RESUME_MODE);
    n += ExchangeText(op, this, &s.recordComment, IDC_COMMENT);
    return n;
}

// The gauges need a range: the lower end below the upper one (both taken as
// unsigned, as the fields show them) and not beyond what a dial can start at.
int COptions::Validate(void* values) {
    const Settings& s = *static_cast<const Settings*>(values);
    uint16_t speedMin = s.speedMin, speedMax = s.speedMax, rpmMin = s.rpmMin, rpmMax = s.rpmMax;
    if (speedMin > kSpeedMinLimit || speedMin >= speedMax) return IDC_SPEED_MIN;
    if (rpmMin > kRpmMinLimit || rpmMin >= rpmMax) return IDC_RPM_MIN;
    return 0;
}

int COptions::OnCommand(UINT message, WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDC_GEAR_AUTO:
        case IDC_WEATHER_AUTO:
            ApplyEnabling();
            return 1;
        case IDC_WEATHER_ADJUST:
            RunWeatherCalibration();
            return 1;
        }
    }
    return CNotebook::OnCommand(message, wParam, lParam);
}

void COptions::ApplyEnabling() {
    bool gearAuto = IsDlgButtonChecked(hwnd, IDC_GEAR_AUTO) == BST_CHECKED;
    EnableWindow(GetDlgItem(hwnd, IDC_GEAR), !gearAuto);
    liveWeather = IsDlgButtonChecked(hwnd, IDC_WEATHER_AUTO) == BST_CHECKED;
    for (int id : {IDC_TEMPERATURE, IDC_PRESSURE, IDC_HUMIDITY}) EnableWindow(GetDlgItem(hwnd, id), !liveWeather);
}

// The controller keeps the weather settings up to date (only while the
// settings say Weather/Auto); the fields show what it measured last.
void COptions::RefreshWeather() {
    if (!liveWeather || !data) return;
    const Settings& s = record();
    ShowSigned(hwnd, IDC_TEMPERATURE, s.weatherTemperature);
    ShowUnsigned(hwnd, IDC_HUMIDITY, s.weatherHumidity);
    ShowUnsigned(hwnd, IDC_PRESSURE, s.weatherPressure);
}

// The calibration is stored as soon as its own dialog says OK; cancelling
// the options afterwards keeps it.
void COptions::RunWeatherCalibration() {
    if (data) runWeatherCalibration(hwnd, record());
}

INT_PTR runOptions(HWND owner) {
    Settings& settings = theSettings();
    INT_PTR result = DoModal(new COptions, &settings, L"CONFIG", owner);
    // the port may have changed, and a link that was lost comes back this way
    theSerialLink().close();
    theSerialLink().open(settings.hardwareComPort);
    return result;
}
