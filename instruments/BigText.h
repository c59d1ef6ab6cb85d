#pragma once
// CBigText: an ordinary centred static control turned into a one-line display
// whose bold font fills the control's height. The template text of the
// control names the font face ("Arial"); afterwards the owner sets the shown
// text with SetWindowText, and a text equal to the one shown costs nothing.
#include <memory>

#include "Ctrl.h"
#include "Drawing.h"

class CBigText : public CCtrl {
public:
    // Takes the face name from the control's text, empties the text, gives
    // the control the font, then binds as every control does.
    void Attach(HWND window) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    std::unique_ptr<FontSelection> font;  // null before Attach
};
