#pragma once
// The framework's program-wide state: one instance for the whole run. It holds
// the module handle, the window property that binds a window to its object,
// the application and main window objects, the window creation in progress,
// the class-name buffer, the text scratch buffers and the current printer choice.
#include <windows.h>

class CApp;
class CWnd;

constexpr int kTextBufferCount = 8;
constexpr int kTextBufferSize = 256;

struct FrameworkState {
    HINSTANCE instance = nullptr;     // resources and window classes come from here
    ATOM propertyAtom = 0;            // global atom of the property "AWinThis"
    CApp* application = nullptr;      // its message loop also runs while a page spools
    CWnd* mainWindow = nullptr;       // destroying its window ends the message loop
    CWnd* pendingObject = nullptr;    // object waiting for the window being created
    HHOOK creationHook = nullptr;
    wchar_t className[96] = {};       // last name made by RegisterWindowClass
    wchar_t textBuffers[kTextBufferCount][kTextBufferSize] = {};
    int nextTextBuffer = 0;
    HGLOBAL printerDevNames = nullptr;  // the printer chosen last (or the default one)
    HGLOBAL printerDevMode = nullptr;
};

FrameworkState& theFramework();

// Start: remember the module and register the property atom. End: delete the
// atom and free the printer choice. Both are safe to call more than once; the
// framework also starts itself on first use (tests need no CApp).
void FrameworkStart(HINSTANCE instance);
void FrameworkEnd();

HINSTANCE FrameworkInstance();
ATOM WindowPropertyAtom();
