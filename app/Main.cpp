// The entry point: everything else is the application object's. The command
// line is read as UTF-16, so that file names outside the ANSI code page open.
// A second start from the same folder hands its file to the running program.
#include <windows.h>

#include "MyApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previousInstance, PWSTR commandLine, int showCommand) {
    CMyApp& app = theApp();
    wchar_t program[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    if (!app.runningInstance.Claim(program) &&
        app.runningInstance.HandOver(CMyApp::CommandLinePath(commandLine ? commandLine : L"")))
        return 0;
    app.previousInstance = previousInstance;
    app.showCommand = showCommand;
    return app.Main(instance, commandLine);
}
