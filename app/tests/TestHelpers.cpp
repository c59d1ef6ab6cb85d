#include "TestHelpers.h"

#include "Notebook.h"
#include "Settings.h"
#include "StringTable.h"
#include "TestSupport.h"

void ResetSettings() {
    theSettings() = Settings{};
    completeLoadedSettings(theSettings(), portableText);
}

std::wstring ControlText(HWND dialog, int id) {
    return WindowTextOf(GetDlgItem(dialog, id));
}

void SetControlText(HWND dialog, int id, const std::wstring& text) {
    SetDlgItemTextW(dialog, id, text.c_str());
}

bool IsVisible(HWND dialog, int id) {
    return (GetWindowLongW(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

bool IsEnabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

std::wstring ComboSelection(HWND dialog, int id) {
    LRESULT selected = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return L"<none>";
    wchar_t text[256] = {};
    SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text));
    return text;
}

std::vector<std::wstring> ComboItems(HWND dialog, int id) {
    std::vector<std::wstring> items;
    LRESULT count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

void ChooseComboItem(HWND dialog, int id, int index) {
    HWND combo = GetDlgItem(dialog, id);
    SendMessageW(combo, CB_SETCURSEL, index, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

HWND NotebookTab(HWND dialog, int page) {
    return GetDlgItem(dialog, kNotebookTabFirstId + page);
}

std::vector<int> CheckedTabs(HWND dialog) {
    std::vector<int> checked;
    for (int page = 0; page < 6; ++page)
        if (SendMessageW(NotebookTab(dialog, page), BM_GETCHECK, 0, 0) == BST_CHECKED) checked.push_back(page);
    return checked;
}

std::vector<std::wstring> MessageTexts(HWND box) {
    std::vector<std::wstring> texts;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassNameOf(child) == L"Static" && !WindowTextOf(child).empty()) texts.push_back(WindowTextOf(child));
    return texts;
}

Measurement ConstantRun(const std::wstring& path, int32_t period, uint16_t revolutions) {
    Measurement m;
    m.fileName = path;
    m.sampleCount = revolutions;
    for (uint16_t i = 0; i < revolutions; ++i) m.times.push_back(period * i);
    m.temperature = 21;
    m.pressure = 1013;
    m.humidity = 45;
    m.gearRatio = 1.0;
    m.recordedAt = 1700000000;
    m.inertia = 7.05;
    m.circumference = 1.25;
    m.comment = L"Probefahrt";
    return m;
}

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) narrow += c < 128 ? static_cast<char>(c) : '?';
    return narrow;
}
