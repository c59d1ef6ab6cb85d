#pragma once
// Owner-painted buttons. CFlexButton keeps the button's visual state in its
// own flags and repaints itself at once whenever one changes, after the
// platform button has drawn its own idea of the state. CNBButton is a
// notebook tab: an automatic radio button painted as a flat tab that shows
// its page's controls while it is checked.
#include <cstdint>

#include "Ctrl.h"

enum FlexButtonFlags : uint32_t {
    kFlexCheckMask = 3,
    kFlexFocused = 4,
    kFlexPushed = 8,
    kFlexEnabled = 16,
};

class CFlexButton : public CButton {
public:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    uint32_t flags = 0;
};

class CNBButton : public CFlexButton {
public:
    CNBButton(int x, int y, int width, int height);

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int Paint(CDC* dc) override;

    // the tab's place in the dialog's client coordinates; checked, it sits
    // 2 pixels further left, toward its page
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};
