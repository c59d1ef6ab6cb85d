// What one value change costs each instrument under Wine: wall-clock and
// CPU time of SetValue with the synchronous repaint, and of SetValue with an
// unchanged value (the acquisition tick feeds every instrument every 100 ms).
// Not a test: run it under the display of test.sh, for example
//   wine build/windows/bin/instrument_paint_bench.exe
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "Dlg.h"
#include "Gauge.h"
#include "Indicator.h"
#include "RectGauge.h"
#include "resource.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
    return 1000.0 * double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

double ThreadCpuMilliseconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ticks = [](FILETIME t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return double(ticks(kernel) + ticks(user)) / 10000.0;
}

void Measure(const char* name, CInstr* instrument, int32_t low, int32_t high) {
    constexpr int kRuns = 200;
    LARGE_INTEGER frequency, from, to;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> changed;
    const double cpuBefore = ThreadCpuMilliseconds();
    for (int run = 0; run < kRuns; ++run) {
        QueryPerformanceCounter(&from);
        instrument->SetValue(run % 2 ? high : low);
        QueryPerformanceCounter(&to);
        changed.push_back(Milliseconds(from, to, frequency));
    }
    const double cpu = (ThreadCpuMilliseconds() - cpuBefore) / kRuns;
    QueryPerformanceCounter(&from);
    for (int run = 0; run < kRuns; ++run) instrument->SetValue(instrument->value);
    QueryPerformanceCounter(&to);
    std::sort(changed.begin(), changed.end());
    std::printf("%-22s changed: median %6.2f ms  max %6.2f ms  cpu %6.2f ms   unchanged: %7.4f ms\n", name,
                changed[changed.size() / 2], changed.back(), cpu, Milliseconds(from, to, frequency) / kRuns);
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    CDlg* dialog = CreateModeless(kModelessDialog, new CDlg, L"LIVE", nullptr);
    if (!dialog) return 1;
    HWND window = dialog->hwnd;
    auto place = [window](int id, CInstr* instrument, int32_t minimum, int32_t maximum) {
        return ReplacePlaceholder(GetDlgItem(window, id), instrument, minimum, maximum);
    };
    CInstr* speed = place(IDC_SPEED_GAUGE, new CGauge, 0, 250);
    CInstr* rpm = place(IDC_RPM_GAUGE, new CGauge, 0, 8000);
    CInstr* airFuel = place(IDC_AF_BAR, new CRectGauge, 100, 180);
    auto* gas = new CRectGauge;
    gas->style = 2;
    place(IDC_GAS_BAR, gas, 400, 1200);
    CInstr* slip = place(IDC_SLIP_LAMP, new CIndicator, 0, 1);
    UpdateWindow(window);
    Measure("round gauge (speed)", speed, 120, 121);
    Measure("round gauge (rpm)", rpm, 5000, 5040);
    Measure("rect gauge (A/F)", airFuel, 128, 129);
    Measure("rect gauge (gas)", gas, 900, 910);
    Measure("lamp", slip, 0, 1);
    DestroyWindow(window);
    return 0;
}
