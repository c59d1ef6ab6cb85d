#include "MyApp.h"

#include <commdlg.h>

#include "About.h"
#include "CommonDialogs.h"
#include "FrameworkState.h"
#include "MeasurementFile.h"
#include "MyFrame.h"
#include "Seams.h"
#include "Settings.h"
#include "TextBuffers.h"
#include "Win32ProfileStore.h"

namespace {

constexpr DWORD kFrameStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE;  // 0x10CF0000

std::wstring ResourceText(int id) {
    return LoadText(static_cast<UINT>(id));
}

void ReleaseChoiceLists(Settings& s) {
    for (std::wstring* text : {&s.startModeChoices, &s.powerModeChoices, &s.powerUnitChoices, &s.correctionChoices,
                               &s.relationChoices, &s.resumeModeChoices, &s.pulseCountChoices})
        std::wstring().swap(*text);
}

}  // namespace

CMyApp& theApp() {
    static CMyApp app;
    return app;
}

void ShowMeasurementNotice(int textId, int captionId) {
    MessageBoxW(nullptr, LoadText(static_cast<UINT>(textId)), LoadText(static_cast<UINT>(captionId)),
                MB_OK | MB_ICONINFORMATION);
}

void CMyApp::InitInstance() {
    // the start-up screen closes itself after 1.5 s, while the frame is made
    CreateModeless(kModelessDialog, new CAbout, L"KALTRNX", nullptr);
    loadSettings();
    completeLoadedSettings(theSettings(), &ResourceText);
    setMeasurementNoticeHandler(&ShowMeasurementNotice);
    InstallDiagramHooks();
    OpenControllerLink(theSettings().hardwareComPort);
}

CWnd* CMyApp::CreateMainWindow() {
    return CreateMainFrame(new CMyFrame);
}

CMyFrame* CMyApp::CreateMainFrame(CMyFrame* frame) {
    HINSTANCE module = FrameworkInstance();
    const Settings& s = theSettings();
    const wchar_t* className = RegisterWindowClass(nullptr, nullptr, LoadIconW(module, L"MAINICON"), 0);
    HMENU menu = LoadMenuW(module, L"MAINMENU");
    DWORD style = kFrameStyle | static_cast<DWORD>(s.supervisorCmdShow);
    if (!CreateBoundWindow(frame, className, L"", style, menu, nullptr, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT)) {
        if (menu) DestroyMenu(menu);
        return nullptr;
    }
    SetWindowTextW(frame->hwnd, s.supervisorWindowTitle.c_str());
    frame->accelerators = LoadAcceleratorsW(module, L"MAINACCEL");
    RunPrintDlg(PD_RETURNDEFAULT, frame->hwnd, new CPrintDlg);
    // a run the last session could not save is settled before anything else
    PostMessageW(frame->hwnd, kOfferRecoveredRun, 0, 0);
    if (!commandLine.empty()) PostMessageW(frame->hwnd, kOpenCommandLineFile, 0, 0);
    return frame;
}

void CMyApp::ExitInstance() {
    CloseControllerLink();
    saveSettings();
    ReleaseChoiceLists(theSettings());
}

std::wstring CMyApp::CommandLinePath() const {
    int length = MultiByteToWideChar(CP_ACP, 0, commandLine.data(), static_cast<int>(commandLine.size()), nullptr, 0);
    std::wstring path(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, commandLine.data(), static_cast<int>(commandLine.size()), &path[0], length);
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') path = path.substr(1, path.size() - 2);
    return path;
}
