#include "WeatherDlg.h"

#include "Settings.h"
#include "resource.h"

// Weather/Humidity1 ... Weather/Pressure2, in the order of the settings table.
size_t CWeatherDlg::Exchange(ExchangeOp op, void* values) {
    Settings& s = *static_cast<Settings*>(values);
    size_t n = 0;
    n += ExchangeReal(op, this, &s.weatherHumidity1, IDC_HUMIDITY1);
    n += ExchangeReal(op, this, &s.weatherHumidity2, IDC_HUMIDITY2);
    n += ExchangeReal(op, this, &s.weatherTemper1, IDC_TEMPER1);
    n += ExchangeReal(op, this, &s.weatherTemper2, IDC_TEMPER2);
    n += ExchangeReal(op, this, &s.weatherPressure1, IDC_PRESSURE1);
    n += ExchangeReal(op, this, &s.weatherPressure2, IDC_PRESSURE2);
    return n;
}

INT_PTR runWeatherCalibration(HWND owner, Settings& settings) {
    return DoModal(new CWeatherDlg, &settings, L"WEATHERDLG", owner);
}
