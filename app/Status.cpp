#include "Status.h"

#include "DC.h"
#include "Drawing.h"

namespace {

constexpr COLORREF kShadow = RGB(127, 127, 127);

}  // namespace

HWND CreateStatusWindow(HWND frame) {
    const wchar_t* className = RegisterWindowClass(static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)),
                                                   LoadCursorW(nullptr, IDC_ARROW), nullptr, CS_HREDRAW | CS_VREDRAW);
    CWnd* bar = CreateBoundWindow(new CStatus, className, L"", WS_CHILD | WS_VISIBLE, nullptr, frame, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
    return bar ? bar->hwnd : nullptr;
}

// A new text repaints the whole bar with the next paint message.
LRESULT CStatus::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) InvalidateRect(hwnd, nullptr, TRUE);
    return CWnd::WndProc(message, wParam, lParam);
}

// The class brush has erased the background; the bar gets a black line on
// top, a white highlight, and a pane sunken 3 pixels in (4 on the right).
int CStatus::Paint(CDC* dc) {
    if (!dc) return 1;
    HDC h = dc->hdc;
    RECT r;
    dc->GetRect(&r);

    DrawLine(h, r.left, r.top, r.right, r.top);  // the context's own black pen
    {
        GdiSelection white = SelectPen(h, PS_SOLID, 1, RGB(255, 255, 255));
        MoveToEx(h, r.left, r.bottom, nullptr);
        LineTo(h, r.left, r.top + 1);
        LineTo(h, r.right, r.top + 1);
        MoveToEx(h, r.left + 3, r.bottom - 3, nullptr);
        LineTo(h, r.right - 4, r.bottom - 3);
        LineTo(h, r.right - 4, r.top + 3);
        GdiSelection grey = SelectPen(h, PS_SOLID, 1, kShadow);
        LineTo(h, r.left + 3, r.top + 3);  // on from where the highlight ended
        LineTo(h, r.left + 3, r.bottom - 3);
        MoveToEx(h, r.left, r.bottom - 1, nullptr);
        LineTo(h, r.right - 1, r.bottom - 1);
        LineTo(h, r.right - 1, r.top + 1);
    }

    wchar_t text[kMaxShownChars + 1] = {};
    int length = GetWindowTextW(hwnd, text, kMaxShownChars + 1);
    RECT textRect{r.left + 8, r.top + 4, r.right - 8, r.bottom - 4};
    FontSelection font = CreateBoldFont(h, 10, L"MS Sans Serif");
    SetBkMode(h, TRANSPARENT);
    DrawTextW(h, text, length, &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    return 1;
}
