#include "App.h"

#include "FrameworkState.h"
#include "Wnd.h"

int CApp::Main(HINSTANCE moduleInstance, const wchar_t* arguments) {
    instance = moduleInstance;
    commandLine = arguments ? arguments : L"";
    FrameworkStart(moduleInstance);
    theFramework().application = this;
    InitInstance();
    CWnd* mainWindow = CreateMainWindow();
    theFramework().mainWindow = mainWindow;
    if (!mainWindow) PostQuitMessage(0);
    int result = Run();
    ExitInstance();
    FrameworkEnd();
    theFramework().application = nullptr;
    return result;
}

int CApp::Run() {
    quit = false;
    while (PumpMessage()) {
    }
    return exitCode;
}

int CApp::PumpMessage() {
    if (quit) return 0;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = true;
            exitCode = static_cast<int>(message.wParam);
            return 0;
        }
        if (!PreTranslate(&message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        return 1;
    }
    if (!OnIdle()) WaitMessage();
    return 1;
}

// The message's window and then each parent may take the message (keyboard
// shortcuts, dialog navigation); the first that does consumes it.
int CApp::PreTranslate(MSG* msg) {
    for (HWND window = msg->hwnd; window; window = GetParent(window)) {
        CWnd* object = ObjectFromWindow(window);
        if (object && object->PreTranslateMessage(msg)) return 1;
    }
    return 0;
}
