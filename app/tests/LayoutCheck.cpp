#include "LayoutCheck.h"

#include <sstream>

#include "TestSupport.h"

namespace {

std::string Describe(HWND control) {
    std::ostringstream out;
    out << GetDlgCtrlID(control) << " '";
    for (wchar_t c : WindowTextOf(control)) out << (c < 128 ? static_cast<char>(c) : '?');
    out << "'";
    return out.str();
}

LONG ButtonType(HWND control) {
    return GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
}

bool IsGroupBox(HWND control) {
    return ClassNameOf(control) == L"Button" && ButtonType(control) == BS_GROUPBOX;
}

bool IsCheckBox(HWND control) {
    LONG type = ButtonType(control);
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

RECT ScreenRect(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    return rect;
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Width the text needs in the control's font.
int TextWidth(HWND control) {
    std::wstring text = WindowTextOf(control);
    if (text.empty()) return 0;
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}

}  // namespace

std::vector<HWND> VisibleControls(HWND dialog) {
    std::vector<HWND> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child)) controls.push_back(child);
    return controls;
}

std::vector<std::string> ClippedTexts(const std::vector<HWND>& controls) {
    std::vector<std::string> clipped;
    for (HWND control : controls) {
        std::wstring className = ClassNameOf(control);
        RECT client{};
        GetClientRect(control, &client);
        int need = TextWidth(control);
        if (need == 0) continue;
        if (className == L"Static") {
            if ((GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) > SS_RIGHT) continue;  // frames, icons
        } else if (className == L"Button") {
            if (IsCheckBox(control))
                need += GetSystemMetrics(SM_CXMENUCHECK) + 4;
            else if (IsGroupBox(control))
                need += 16;
            else
                need += 8;
        } else {
            continue;
        }
        if (need > client.right) clipped.push_back(Describe(control) + " needs " + std::to_string(need) +
                                                   " pixels, has " + std::to_string(client.right));
    }
    return clipped;
}

std::vector<std::string> Overlaps(const std::vector<HWND>& controls) {
    std::vector<std::string> overlaps;
    for (size_t i = 0; i < controls.size(); ++i) {
        for (size_t j = i + 1; j < controls.size(); ++j) {
            RECT a = ScreenRect(controls[i]), b = ScreenRect(controls[j]), both{};
            if (!IntersectRect(&both, &a, &b)) continue;
            if (IsGroupBox(controls[i]) && Contains(a, b)) continue;
            if (IsGroupBox(controls[j]) && Contains(b, a)) continue;
            overlaps.push_back(Describe(controls[i]) + " and " + Describe(controls[j]));
        }
    }
    return overlaps;
}

std::vector<std::string> OutsideOf(const std::vector<HWND>& controls, const RECT& area) {
    std::vector<std::string> outside;
    for (HWND control : controls)
        if (!Contains(area, ScreenRect(control))) outside.push_back(Describe(control));
    return outside;
}

std::vector<std::wstring> ChildTexts(HWND dialog) {
    std::vector<std::wstring> texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        texts.push_back(WindowTextOf(child));
    return texts;
}
