#pragma once
// CApp: the application object. Main runs the program: initialise, create the
// main window, pump messages until the main window is gone, shut down.
#include <windows.h>

#include <string>

class CWnd;

class CApp {
public:
    CApp() = default;
    CApp(const CApp&) = delete;
    CApp& operator=(const CApp&) = delete;
    virtual ~CApp() = default;

    // over-ride these for the program's start-up, loop and shut-down
    virtual void InitInstance() {}
    virtual CWnd* CreateMainWindow() { return nullptr; }  // null ends the program
    virtual int Run();                                     // the exit code of WM_QUIT
    virtual void ExitInstance() {}
    virtual int PreTranslate(MSG* message);                // nonzero: consumed
    virtual int OnIdle() { return 0; }                     // 0: wait for the next message

    // The entry sequence: store instance and command line (UTF-16, so that
    // any file name arrives whole), InitInstance, CreateMainWindow (none: quit at once),
    // Run, ExitInstance; answers Run's exit code.
    int Main(HINSTANCE instance, const wchar_t* commandLine);

    // One step of the message pump: 0 once the quit message has arrived.
    int PumpMessage();

    HINSTANCE instance = nullptr;
    std::wstring commandLine;
    bool quit = false;
    int exitCode = 0;
    MSG message{};
};
