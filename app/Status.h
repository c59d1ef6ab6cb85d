#pragma once
// CStatus: the status bar, a raised bar with one sunken pane that shows its
// window text (the frame writes the help text of the control under the mouse
// or of the menu item being chosen).
#include "Wnd.h"

class CStatus : public CWnd {
public:
    static constexpr int kMaxShownChars = 79;

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int Paint(CDC* dc) override;
};

// The status bar window of `frame` (placed by the frame's layout); null on failure.
HWND CreateStatusWindow(HWND frame);
