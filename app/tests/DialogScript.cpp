#include "DialogScript.h"

#include <memory>

namespace {

constexpr DWORD kStepPatienceMs = 10000;  // only a broken dialog waits this long

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) narrow += c < 128 ? static_cast<char>(c) : '?';
    return narrow;
}

struct Search {
    std::wstring title;
    HWND found = nullptr;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    if (!IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    if (search->title != text) return TRUE;
    search->found = window;
    return FALSE;
}

// Each dialog step as a step: ready when its window is there, acting on the window found.
std::vector<Step> WindowSteps(std::vector<ScriptStep> steps) {
    std::vector<Step> made;
    for (ScriptStep& s : steps) {
        auto window = std::make_shared<HWND>(nullptr);
        made.push_back(Step{"window \"" + Narrow(s.title) + "\"",
                            [window, title = s.title] { return (*window = FindThreadWindow(title)) != nullptr; },
                            [window, action = std::move(s.action)] { action(*window); }, kStepPatienceMs});
    }
    return made;
}

}  // namespace

HWND FindThreadWindow(const std::wstring& title) {
    Search search{title};
    EnumThreadWindows(GetCurrentThreadId(), &MatchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void ClickButton(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

DialogScript::DialogScript(std::vector<ScriptStep> steps)
    : StepScript(WindowSteps(std::move(steps)), StepNesting::IntoNestedDialogs) {}
