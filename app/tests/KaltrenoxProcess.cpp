#include "KaltrenoxProcess.h"

#include "TestSupport.h"

namespace {

constexpr UINT kSendTimeoutMs = 5000;

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChildren(HWND window, LPARAM context) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> all;
    if (parent) EnumChildWindows(parent, &CollectChildren, reinterpret_cast<LPARAM>(&all));
    return all;
}

std::wstring FullPath(const std::wstring& path) {
    wchar_t full[MAX_PATH] = {};
    GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return full;
}

}  // namespace

std::wstring KaltrenoxProcess::ProgramFolder() {
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path(module);
    return path.substr(0, path.find_last_of(L'\\'));
}

KaltrenoxProcess::KaltrenoxProcess(const std::wstring& name) {
    std::wstring runs = FullPath(ProgramFolder() + L"\\..\\app-runs");
    CreateDirectoryW(runs.c_str(), nullptr);
    folder = runs + L"\\" + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    exePath = folder + L"\\kaltrenox.exe";
    iniPath = folder + L"\\KALTRNX.INI";
    DeleteFileW(iniPath.c_str());
    CopyFileW((ProgramFolder() + L"\\kaltrenox.exe").c_str(), exePath.c_str(), FALSE);
}

KaltrenoxProcess::~KaltrenoxProcess() {
    if (process.hProcess) {
        if (Running()) {
            TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, 5000);
        }
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
}

void KaltrenoxProcess::SetIni(const wchar_t* section, const wchar_t* key, const std::wstring& value) {
    WritePrivateProfileStringW(section, key, value.c_str(), iniPath.c_str());
}

std::wstring KaltrenoxProcess::Ini(const wchar_t* section, const wchar_t* key) const {
    wchar_t value[512] = {};
    GetPrivateProfileStringW(section, key, L"<missing>", value, 512, iniPath.c_str());
    return value;
}

bool KaltrenoxProcess::Start(const std::wstring& arguments, DWORD* aboutSeen, DWORD* frameSeen) {
    if (process.hProcess) {
        if (Running()) return false;
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        process = PROCESS_INFORMATION{};
    }
    frame = nullptr;
    std::wstring commandLine = L"\"" + exePath + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process))
        return false;
    // the frame: the program's top-level window with the main menu
    DWORD about = 0, main = 0;
    WaitUntil(
        [&] {
            if (!about && AboutBox()) about = GetTickCount();
            frame = FindTopLevel([](HWND w) { return GetMenu(w) != nullptr && ClassName(w).rfind(L"WCLS_", 0) == 0; });
            if (frame) main = GetTickCount();
            return frame != nullptr || !Running();
        },
        20000);
    if (aboutSeen) *aboutSeen = about;
    if (frameSeen) *frameSeen = main;
    return frame != nullptr && Settle();
}

bool KaltrenoxProcess::WaitForExit(DWORD milliseconds, DWORD* exitCode) {
    if (!process.hProcess || WaitForSingleObject(process.hProcess, milliseconds) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(process.hProcess, exitCode);
    return true;
}

bool KaltrenoxProcess::Running() const {
    return process.hProcess && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
}

std::vector<HWND> KaltrenoxProcess::TopLevelWindows() const {
    WindowSearch search{process.dwProcessId, {}};
    EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND KaltrenoxProcess::FindTopLevel(const std::function<bool(HWND)>& test) const {
    for (HWND window : TopLevelWindows())
        if (test(window)) return window;
    return nullptr;
}

HWND KaltrenoxProcess::AboutBox() const {
    return FindTopLevel([](HWND w) {
        if (ClassName(w) != L"#32770") return false;
        for (HWND child : Descendants(w))
            if (Text(child) == L"Deutsche Version") return true;
        return false;
    });
}

HWND KaltrenoxProcess::Dialog(const std::wstring& caption) const {
    return FindTopLevel([&caption](HWND w) { return ClassName(w) == L"#32770" && Text(w) == caption; });
}

HWND KaltrenoxProcess::Child(const wchar_t* className) const {
    for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassName(child) == className) return child;
    return nullptr;
}

HWND KaltrenoxProcess::StatusBar() const {
    for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassName(child).rfind(L"WCLS_", 0) == 0) return child;
    return nullptr;
}

std::vector<HWND> KaltrenoxProcess::DiagramWindows() const {
    std::vector<HWND> windows;
    for (HWND child = GetWindow(MdiClient(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindow(child, GW_OWNER) == nullptr) windows.push_back(child);  // not the icon titles
    return windows;
}

LRESULT KaltrenoxProcess::Command(WORD id) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(frame, WM_COMMAND, id, 0, SMTO_NORMAL, kSendTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

void KaltrenoxProcess::PostCommand(WORD id) const {
    PostMessageW(frame, WM_COMMAND, id, 0);
}

// A sent message is handled only after everything posted before it.
bool KaltrenoxProcess::Settle() const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &result) != 0;
}

std::wstring KaltrenoxProcess::Text(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kSendTimeoutMs, &length);
    return text;
}

std::wstring KaltrenoxProcess::ClassName(HWND window) {
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    return name;
}

bool KaltrenoxProcess::WaitUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start > milliseconds) return false;
        Sleep(20);
    }
}

bool KaltrenoxProcess::SaveScreenshot(HWND window, const wchar_t* fileName) {
    std::wstring screenshots = FullPath(ProgramFolder() + L"\\..\\..\\screenshots");
    CreateDirectoryW(screenshots.c_str(), nullptr);
    std::wstring path = screenshots + L"\\" + fileName;

    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &ignored);
    Sleep(200);  // the other process paints in its own time
    RECT rect{};
    GetWindowRect(window, &rect);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CopyToBitmap(screen, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    ReleaseDC(nullptr, screen);
    bool written = SavePng(bitmap, path);
    DeleteObject(bitmap);
    return written;
}
