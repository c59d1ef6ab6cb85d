#pragma once
// Owner-painted buttons. CFlexButton keeps the button's visual state in its
// own flags and repaints itself at once whenever one changes, after the
// platform button has drawn its own idea of the state. CNBButton is a
// notebook tab: an automatic radio button painted as a flat tab that shows
// its page's controls while it is checked; it is told its pages and its page
// index when it is made.
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

// What a tab shows and hides: the pages of its notebook.
class TabPages {
public:
    virtual void ShowPage(int page, bool show) = 0;

protected:
    ~TabPages() = default;
};

class CNBButton : public CFlexButton {
public:
    CNBButton(TabPages& pages, int page, int x, int y, int width, int height);

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int Paint(CDC* dc) override;

    // the tab's place in the dialog's client coordinates; checked, it sits
    // 2 pixels further left, toward its page
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;

private:
    TabPages& pages_;
    int page_;
};
