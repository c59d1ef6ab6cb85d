#include "FlexButton.h"

#include "DC.h"

namespace {

uint32_t UpdatedFlags(uint32_t flags, UINT message, WPARAM wParam) {
    switch (message) {
    case BM_SETCHECK:  return (flags & ~uint32_t(kFlexCheckMask)) | (wParam & kFlexCheckMask);
    case WM_SETFOCUS:  return flags | kFlexFocused;
    case WM_KILLFOCUS: return flags & ~uint32_t(kFlexFocused);
    case BM_SETSTATE:  return (wParam & 1) ? flags | kFlexPushed : flags & ~uint32_t(kFlexPushed);
    case WM_ENABLE:    return (wParam & 1) ? flags | kFlexEnabled : flags & ~uint32_t(kFlexEnabled);
    default:           return flags;
    }
}

void StartLine(HDC dc, int x, int y, int toX, int toY) {
    MoveToEx(dc, x, y, nullptr);
    LineTo(dc, toX, toY);
}

}  // namespace

LRESULT CFlexButton::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The button's own answer to WM_ENABLE is only to redraw itself, and the
    // visual-styles button does so at once even when nothing changed; the
    // flex button draws itself, once per change, below.
    LRESULT result = message == WM_ENABLE ? 0 : CButton::WndProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) return result;  // the object is gone
    uint32_t updated = UpdatedFlags(flags, message, wParam);
    if (updated != flags) {
        flags = updated;
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
    }
    return result;
}

CNBButton::CNBButton(TabPages& pages, int page, int left, int top, int w, int h)
    : x(left), y(top), width(w), height(h), pages_(pages), page_(page) {
    flags = kFlexEnabled;
}

LRESULT CNBButton::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == BM_SETCHECK) {
        int checked = static_cast<int>(wParam & kFlexCheckMask);
        pages_.ShowPage(page_, checked != 0);
        MoveWindow(hwnd, x - 2 * checked, y, width, height, TRUE);
    }
    return CFlexButton::WndProc(message, wParam, lParam);
}

int CNBButton::Paint(CDC* dc) {
    if (!dc) return 1;
    HDC hdc = dc->hdc;
    HGDIOBJ oldFont = SelectObject(hdc, reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    wchar_t text[31] = {};
    GetWindowTextW(hwnd, text, 31);

    RECT r;
    GetClientRect(hwnd, &r);
    HBRUSH background = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hwnd)));
    FillRect(hdc, &r, background ? background : GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(hdc, TRANSPARENT);
    DrawTextW(hdc, text, -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);

    // etched outline on top, right and bottom, open toward the page
    HGDIOBJ oldPen = SelectObject(hdc, GetStockObject(WHITE_PEN));
    StartLine(hdc, r.left + 1, r.top + 1, r.right - 1, r.top + 1);
    LineTo(hdc, r.right - 1, r.bottom - 1);
    LineTo(hdc, r.left, r.bottom - 1);
    HPEN grey = CreatePen(PS_SOLID, 1, RGB(127, 127, 127));
    SelectObject(hdc, grey);
    StartLine(hdc, r.left + 1, r.top, r.right - 2, r.top);
    LineTo(hdc, r.right - 2, r.bottom - 2);
    LineTo(hdc, r.left, r.bottom - 2);
    SelectObject(hdc, oldPen);
    DeleteObject(grey);

    if (flags & kFlexFocused) {
        InflateRect(&r, -4, -4);
        DrawFocusRect(hdc, &r);
    }
    SelectObject(hdc, oldFont);
    return 1;
}
