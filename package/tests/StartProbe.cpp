// Runs a command line as Explorer runs a registered "open" command, waits
// until the started program's main frame shows a diagram window, then ends
// the program through its menu ("&Beenden") and waits for it.
// Prints "diagram windows: N"; exit code 0 when N >= 1 and the program ended.
// Usage: start_probe.exe COMMAND-LINE
#include <windows.h>

#include <cstdio>
#include <string>

#include "resource.h"

namespace {

struct Search {
    DWORD process;
    HWND frame;
};

BOOL CALLBACK FindFrame(HWND window, LPARAM parameter) {
    Search* search = reinterpret_cast<Search*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && IsWindowVisible(window) && GetMenu(window)) {
        search->frame = window;
        return FALSE;
    }
    return TRUE;
}

int DiagramWindows(HWND frame) {
    HWND client = FindWindowExW(frame, nullptr, L"MDIClient", nullptr);
    int count = 0;
    for (HWND child = client ? GetWindow(client, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child) && !GetWindow(child, GW_OWNER)) ++count;
    return count;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    std::wstring commandLine = argv[1];
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::printf("cannot start: error %lu\n", GetLastError());
        return 1;
    }
    Search search{process.dwProcessId, nullptr};
    int count = 0;
    for (int waited = 0; waited < 20000 && count == 0; waited += 100) {
        Sleep(100);
        search.frame = nullptr;
        EnumWindows(&FindFrame, reinterpret_cast<LPARAM>(&search));
        if (search.frame) count = DiagramWindows(search.frame);
    }
    std::printf("diagram windows: %d\n", count);
    if (search.frame) PostMessageW(search.frame, WM_COMMAND, ID_APP_EXIT, 0);
    const bool ended = WaitForSingleObject(process.hProcess, 15000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return count >= 1 && ended ? 0 : 1;
}
