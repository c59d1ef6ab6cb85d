#include "AppTestSupport.h"

#include "DiagWnd.h"
#include "KaltrenoxProcess.h"
#include "ProfileStore.h"
#include "Settings.h"
#include "TestSupport.h"
#include "TextBuffers.h"

namespace {

class MapStore : public ProfileStore {
public:
    uint32_t getInt(const wchar_t*, const wchar_t*, int32_t defaultValue) override { return defaultValue; }
    std::wstring getString(const wchar_t*, const wchar_t*, const wchar_t* defaultValue, size_t) override {
        return defaultValue;
    }
    void writeString(const wchar_t* section, const wchar_t* key, const std::wstring& value) override {
        values[std::wstring(section) + L"/" + key] = value;
    }
    std::map<std::wstring, std::wstring> values;
};

std::wstring ResourceText(int id) {
    return LoadText(static_cast<UINT>(id));
}

std::wstring gPendingCaption;
std::function<void(HWND)> gPendingAction;

struct DialogSearch {
    const std::wstring* caption;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM context) {
    DialogSearch* search = reinterpret_cast<DialogSearch*>(context);
    if (IsWindowVisible(window) && ClassNameOf(window) == L"#32770" &&
        (search->caption->empty() || WindowTextOf(window) == *search->caption)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK DialogTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    DialogSearch search{&gPendingCaption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return;
    KillTimer(nullptr, timer);
    std::function<void(HWND)> action;
    action.swap(gPendingAction);
    action(search.found);
}

BOOL CALLBACK CollectText(HWND window, LPARAM context) {
    reinterpret_cast<std::vector<std::wstring>*>(context)->push_back(WindowTextOf(window));
    return TRUE;
}

}  // namespace

void ResetSettings() {
    Settings& s = theSettings();
    s = Settings();
    MapStore defaults;
    loadSettings(s, defaults);
    completeLoadedSettings(s, &ResourceText);
}

std::map<std::wstring, std::wstring> SettingsSnapshot(const Settings& settings) {
    MapStore store;
    saveSettings(settings, store);
    return store.values;
}

void WhenDialogAppears(const std::wstring& caption, std::function<void(HWND dialog)> action) {
    gPendingCaption = caption;
    gPendingAction = std::move(action);
    SetTimer(nullptr, 0, 30, &DialogTimer);
}

bool DialogActionPending() {
    return static_cast<bool>(gPendingAction);
}

void PumpFor(DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        PumpMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    PumpMessages();
}

bool TakeQuitMessage() {
    MSG quit;
    return PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

std::wstring SampleMeasurement(const std::wstring& name) {
    std::wstring folder = KaltrenoxProcess::ProgramFolder() + L"\\..\\app-runs";
    CreateDirectoryW(folder.c_str(), nullptr);
    folder += L"\\files";
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring path = folder + L"\\" + name;
    size_t slash = path.find_last_of(L'\\');
    CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    wchar_t full[MAX_PATH] = {};
    GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    std::string source = std::string(KX_DATA_DIR) + "/runup.kxm";
    CopyFileW(std::wstring(source.begin(), source.end()).c_str(), full, FALSE);
    return full;
}

std::vector<std::wstring> DiagramFiles(HWND diagramWindow) {
    std::vector<std::wstring> files;
    CDiagWnd* window = dynamic_cast<CDiagWnd*>(ObjectFromWindow(diagramWindow));
    if (!window || !window->diag) return files;
    for (int i = 0; i < window->diag->d.count; ++i) files.push_back(window->diag->d.measurements[i]->fileName);
    return files;
}

std::vector<std::wstring> DescendantTexts(HWND window) {
    std::vector<std::wstring> texts;
    EnumChildWindows(window, &CollectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

namespace {

std::string CommandText(WPARAM wParam) {
    std::string text = std::to_string(LOWORD(wParam));
    if (HIWORD(wParam)) text += "/" + std::to_string(HIWORD(wParam));
    return text;
}

}  // namespace

int LoggingFrame::OnCommand(UINT message, WPARAM wParam, LPARAM lParam) {
    log_->push_back("frame:" + CommandText(wParam));
    return CMyFrame::OnCommand(message, wParam, lParam);
}

int LoggingChild::OnCommand(UINT message, WPARAM wParam, LPARAM lParam) {
    log_->push_back("diagram:" + CommandText(wParam));
    return CMDIChild::OnCommand(message, wParam, lParam);
}

LoggingChild* OpenLoggingChild(CMyFrame* frame, std::vector<std::string>* log, int wantsHelp) {
    const wchar_t* className = RegisterWindowClass(reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
                                                   LoadCursorW(nullptr, IDC_ARROW), nullptr, 3);
    return static_cast<LoggingChild*>(CreateMDIChild(new LoggingChild(log, wantsHelp), frame->client, className,
                                                     L"Diagramm-Fenster",
                                                     WS_VISIBLE | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW));
}
