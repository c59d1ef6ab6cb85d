#pragma once
// CToolBar: the tool bar, a child dialog from the template "TOOLBAR1" along
// the frame's top edge: icon buttons for the main commands, two toggle
// buttons and the axis lists of the active diagram. It has no commands of
// its own; clicks and list changes go on to the frame with their ids, and the
// frame's shortcuts work while one of its controls has the focus.
#include "Dlg.h"

class CToolBar : public CDlg {
public:
    static constexpr int kIconSize = 32;

    // "@NAME" buttons show the 32 x 32 picture of icon NAME, whatever size
    // the icon resource lists first.
    int PrepareControl(HWND child) override;

    // Nothing to draw over the dialog's own background.
    int Paint(CDC* dc) override {
        (void)dc;
        return 1;
    }
};

// The tool bar window inside `frame`; null on failure.
HWND CreateToolBarWindow(HWND frame);
