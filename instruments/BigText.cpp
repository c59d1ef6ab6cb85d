#include "BigText.h"

#include <cwchar>
#include <string>

namespace {

constexpr int kFaceNameLength = 32;  // at most 31 characters

}  // namespace

void CBigText::Attach(HWND window) {
    wchar_t face[kFaceNameLength] = {};
    GetWindowTextW(window, face, kFaceNameLength);
    SetWindowTextW(window, L"");
    RECT client{};
    GetClientRect(window, &client);
    font = std::make_unique<FontSelection>(CreateBoldFont(nullptr, client.bottom - client.top, face));
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font->Font()), FALSE);
    CCtrl::Attach(window);
}

LRESULT CBigText::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        font.reset();
        break;
    case WM_SETTEXT: {
        // the reading is written every tick; an unchanged one must not repaint
        const wchar_t* next = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
        const int length = GetWindowTextLengthW(hwnd);
        std::wstring shown(static_cast<size_t>(length) + 1, L'\0');
        shown.resize(static_cast<size_t>(GetWindowTextW(hwnd, shown.data(), length + 1)));
        if (shown == next) return TRUE;  // the control already shows it
        break;
    }
    }
    return CCtrl::WndProc(message, wParam, lParam);
}
