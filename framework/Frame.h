#pragma once
// Frame windows: CFrame lays out a tool bar (top), a status bar (bottom) and a
// client window between them; CMDIFrame makes the client an MDI client whose
// children are CMDIChild objects.
#include "Wnd.h"

class CFrame : public CWnd {
public:
    static constexpr int kToolBarHeight = 42;
    static constexpr int kStatusBarHeight = 24;

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // over-ride these to give the frame its bars and client; each answers the
    // window made, or null
    virtual HWND CreateStatusBar() { return nullptr; }
    virtual HWND CreateToolBar() { return nullptr; }
    virtual HWND CreateClient() { return nullptr; }

    // Tool bar over the full width, status bar at the bottom, client between.
    void LayOut(int width, int height);

    HWND client = nullptr;
    HWND statusBar = nullptr;
    HWND toolBar = nullptr;
};

class CMDIFrame : public CFrame {
public:
    static constexpr int kFirstChildId = 1000;
    static constexpr WORD kTileCommand = 1024;
    static constexpr WORD kCascadeCommand = 1025;

    int PreTranslateMessage(MSG* message) override;  // MDI system keys, then accelerators
    int OnCommand(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    HWND CreateClient() override;  // "MDICLIENT" with the window list in the second menu

    HWND ActiveChild() const;
};

class CMDIChild : public CWnd {
public:
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Asks the MDI client to create a child bound to `object` (WM_MDICREATE with
// the creation hook armed). The framework owns the object; null on failure.
CMDIChild* CreateMDIChild(CMDIChild* object, HWND mdiClient, const wchar_t* className, const wchar_t* title,
                          DWORD style);
