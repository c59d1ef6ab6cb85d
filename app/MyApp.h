#pragma once
// CMyApp: the program's one application object. Start-up: the About box as
// start-up screen, the settings from KALTRNX.INI beside the program, the
// choice lists, the serial link; then the main frame; at the end the link is
// closed and the settings are written back.
#include <string>

#include "App.h"
#include "RunningInstance.h"

class CMyFrame;

class CMyApp : public CApp {
public:
    void InitInstance() override;
    CWnd* CreateMainWindow() override;
    void ExitInstance() override;
    int OnIdle() override { return 0; }

    // Makes `frame` the main frame: window with menu, title, shortcuts, the
    // default printer fetched silently, and the command-line file requested.
    // Answers null when the window could not be made (the object is freed).
    CMyFrame* CreateMainFrame(CMyFrame* frame);

    // The command line as a file path: blanks around it and one pair of
    // enclosing quotes are removed (a path never contains quotes).
    std::wstring CommandLinePath() const { return CommandLinePath(commandLine); }
    static std::wstring CommandLinePath(const std::wstring& commandLine);

    // Passed to the entry point and kept, but the frame's show state comes
    // from Supervisor/CmdShow.
    HINSTANCE previousInstance = nullptr;
    int showCommand = 0;

    // One program per folder: the frame is published here once it exists.
    RunningInstance runningInstance;
};

CMyApp& theApp();

// The measurement reader's notice about a file of the oldest version, as an
// information box of its own (no owner).
void ShowMeasurementNotice(int textId, int captionId);
