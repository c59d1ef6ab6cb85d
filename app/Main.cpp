// The entry point: everything else is the application object's.
#include <windows.h>

#include "MyApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand) {
    CMyApp& app = theApp();
    app.previousInstance = previousInstance;
    app.showCommand = showCommand;
    return app.Main(instance, commandLine);
}
