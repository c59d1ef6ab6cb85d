// The measurement dialog's timer tick under Wine while a controller streams:
// wall and CPU time per tick, bytes drained per tick, and how often the
// dialog's windows repaint. Not a test: msdlg_bench.sh starts dynosim on a
// COM port and runs it, for example
//   msdlg_tick_bench.exe 55 20 record   # 20 s with "Start" pressed
//   msdlg_tick_bench.exe 55 10          # 10 s idle
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "FrameDecoder.h"
#include "MsDlg.h"
#include "SerialLink.h"
#include "Settings.h"
#include "StepScript.h"
#include "StringTable.h"
#include "resource.h"

namespace {

struct Measuring {
    bool on = false;
    WNDPROC dialogProc = nullptr;
    std::vector<double> wallMs;
    std::vector<uint32_t> frames;  // four bytes each
    uint64_t cpuStart = 0, cpuEnd = 0;
    LARGE_INTEGER frequency{}, started{}, ended{};
    std::map<HWND, int> paints;
    std::map<HWND, WNDPROC> childProcs;
    double paintMs = 0;  // inside the instruments' WM_PAINT, all ticks
    HHOOK sentHook = nullptr, postedHook = nullptr;
};

Measuring gMeasuring;

uint64_t ThreadCpu100ns() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto value = [](FILETIME t) { return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return value(kernel) + value(user);
}

// Wraps the dialog's window procedure to time timer 1.
LRESULT CALLBACK TimingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_TIMER || wParam != CMsDlg::kTimer || !gMeasuring.on)
        return CallWindowProcW(gMeasuring.dialogProc, window, message, wParam, lParam);
    LARGE_INTEGER from, to;
    const uint32_t framesBefore = theFrameDecoder().frameCount();
    QueryPerformanceCounter(&from);
    LRESULT result = CallWindowProcW(gMeasuring.dialogProc, window, message, wParam, lParam);
    QueryPerformanceCounter(&to);
    gMeasuring.wallMs.push_back(1000.0 * (to.QuadPart - from.QuadPart) / gMeasuring.frequency.QuadPart);
    gMeasuring.frames.push_back(theFrameDecoder().frameCount() - framesBefore);
    return result;
}

// Wraps an instrument's window procedure to time its paints.
LRESULT CALLBACK ChildTimingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC original = gMeasuring.childProcs[window];
    if (message != WM_PAINT || !gMeasuring.on) return CallWindowProcW(original, window, message, wParam, lParam);
    LARGE_INTEGER from, to;
    QueryPerformanceCounter(&from);
    LRESULT result = CallWindowProcW(original, window, message, wParam, lParam);
    QueryPerformanceCounter(&to);
    gMeasuring.paintMs += 1000.0 * (to.QuadPart - from.QuadPart) / gMeasuring.frequency.QuadPart;
    return result;
}

void CountPaint(HWND window, UINT message) {
    if (gMeasuring.on && message == WM_PAINT) ++gMeasuring.paints[window];
}

LRESULT CALLBACK SentMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        CountPaint(call->hwnd, call->message);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK PostedMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const MSG* message = reinterpret_cast<const MSG*>(lParam);
        CountPaint(message->hwnd, message->message);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

HWND FindDialog() {
    struct Search {
        HWND found = nullptr;
    } search;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM p) -> BOOL {
            wchar_t text[64] = {};
            GetWindowTextW(w, text, 64);
            if (std::wcscmp(text, L"Meßwert-Erfassung") != 0 || !IsWindowVisible(w)) return TRUE;
            reinterpret_cast<Search*>(p)->found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

const char* NameOf(HWND dialog, HWND window) {
    if (window == dialog) return "dialog";
    switch (GetDlgCtrlID(window)) {
    case IDC_SPEED_GAUGE: return "speed gauge";
    case IDC_RPM_GAUGE: return "engine-speed gauge";
    case IDC_AF_BAR: return "A/F bar";
    case IDC_GAS_BAR: return "gas bar";
    case IDC_SLIP_LAMP: return "slip lamp";
    case IDC_TRANSMISSION_LAMP: return "transmission lamp";
    case IDC_RATIO_TEXT: return "ratio display";
    case IDC_RUN_PROGRESS: return "progress bar";
    case IDC_STATUS_LINE: return "status line";
    default: return "other";
    }
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * values.size()))];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "Aufruf: msdlg_tick_bench COM-PORT SEKUNDEN [record]\n");
        return 2;
    }
    const int16_t port = static_cast<int16_t>(std::atoi(argv[1]));
    const double seconds = std::atof(argv[2]);
    const bool record = argc > 3 && std::strcmp(argv[3], "record") == 0;
    const bool silent = argc > 3 && std::strcmp(argv[3], "silent") == 0;

    Settings& s = theSettings();
    completeLoadedSettings(s, portableText);
    s.hardwareComPort = port;
    s.recordPeriod = 1000;  // longer than the measurement
    s.recordStartMode = 1;
    s.recordStartVal = 0;
    theSerialLink().open(port);
    if (!theSerialLink().isOpen()) {
        std::fprintf(stderr, "COM%d ist nicht offen\n", port);
        return 1;
    }
    QueryPerformanceFrequency(&gMeasuring.frequency);

    // the controller is configured and the smoothed readings have settled
    static DWORD talkingSince = 0;
    StepScript script({
        {"talking",
         [silent] {
             const LiveValues& live = theLiveValues();
             return FindDialog() && (silent || (live.statusSeen && live.status[1] == 3 && live.status[2] == 15));
         },
         [] { talkingSince = GetTickCount(); },
         3000},
        {"settled", [] { return GetTickCount() - talkingSince >= 1500; },
         [record] {
             HWND dialog = FindDialog();
             gMeasuring.dialogProc = reinterpret_cast<WNDPROC>(
                 SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TimingProc)));
             for (int id : {IDC_SPEED_GAUGE, IDC_RPM_GAUGE, IDC_AF_BAR, IDC_GAS_BAR, IDC_SLIP_LAMP,
                            IDC_TRANSMISSION_LAMP}) {
                 HWND child = GetDlgItem(dialog, id);
                 gMeasuring.childProcs[child] = reinterpret_cast<WNDPROC>(
                     SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChildTimingProc)));
             }
             if (record)
                 SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_START, BN_CLICKED),
                              reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_START)));
             gMeasuring.sentHook = SetWindowsHookExW(WH_CALLWNDPROC, &SentMessageHook, nullptr, GetCurrentThreadId());
             gMeasuring.postedHook = SetWindowsHookExW(WH_GETMESSAGE, &PostedMessageHook, nullptr, GetCurrentThreadId());
             gMeasuring.on = true;
             gMeasuring.cpuStart = ThreadCpu100ns();
             QueryPerformanceCounter(&gMeasuring.started);
         },
         3000},
        {"measured",
         [seconds] {
             LARGE_INTEGER now;
             QueryPerformanceCounter(&now);
             return double(now.QuadPart - gMeasuring.started.QuadPart) / gMeasuring.frequency.QuadPart >= seconds;
         },
         [] {
             gMeasuring.on = false;
             gMeasuring.cpuEnd = ThreadCpu100ns();
             QueryPerformanceCounter(&gMeasuring.ended);
             HWND dialog = FindDialog();
             for (const auto& [window, count] : gMeasuring.paints)
                 std::printf("  %-20s %6.2f repaints/s\n", NameOf(dialog, window),
                             count / (double(gMeasuring.ended.QuadPart - gMeasuring.started.QuadPart) /
                                      gMeasuring.frequency.QuadPart));
             PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
         },
         600000},
    });
    DoModal(new CMsDlg({}), nullptr, L"Speed", nullptr);
    if (gMeasuring.sentHook) UnhookWindowsHookEx(gMeasuring.sentHook);
    if (gMeasuring.postedHook) UnhookWindowsHookEx(gMeasuring.postedHook);
    theSerialLink().close();
    if (!script.finished()) {
        std::fprintf(stderr, "%s\n", script.failure().c_str());
        return 1;
    }

    const double elapsed = double(gMeasuring.ended.QuadPart - gMeasuring.started.QuadPart) / gMeasuring.frequency.QuadPart;
    const size_t ticks = gMeasuring.wallMs.size();
    double bytes = 0;
    for (uint32_t f : gMeasuring.frames) bytes += 4.0 * f;
    std::printf("%zu ticks in %.1f s%s\n", ticks, elapsed, record ? " (recording)" : "");
    std::printf("  bytes per tick    %.0f (%.0f per second)\n", ticks ? bytes / ticks : 0, bytes / elapsed);
    std::printf("  wall per tick     median %.2f ms, 95th percentile %.2f ms, max %.2f ms\n",
                Percentile(gMeasuring.wallMs, 0.5), Percentile(gMeasuring.wallMs, 0.95),
                Percentile(gMeasuring.wallMs, 1.0));
    std::printf("  CPU per tick      %.2f ms (thread CPU of the whole loop / ticks)\n",
                ticks ? (gMeasuring.cpuEnd - gMeasuring.cpuStart) / 1e4 / ticks : 0);
    double wall = 0;
    for (double ms : gMeasuring.wallMs) wall += ms;
    std::printf("  wall per tick     mean %.2f ms, of which instrument paints %.2f ms\n", ticks ? wall / ticks : 0,
                ticks ? gMeasuring.paintMs / ticks : 0);
    return 0;
}
