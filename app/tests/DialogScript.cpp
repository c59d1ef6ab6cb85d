#include "DialogScript.h"

#include "TestSupport.h"

namespace {

constexpr UINT kTickMs = 10;
constexpr DWORD kStepPatienceMs = 10000;  // only a broken dialog waits this long

DialogScript* runningScript = nullptr;

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

}  // namespace

HWND FindThreadWindow(const std::wstring& title) {
    Search search{title};
    EnumThreadWindows(GetCurrentThreadId(), &MatchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void ClickButton(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

DialogScript::DialogScript(std::vector<ScriptStep> steps) : steps_(std::move(steps)) {
    runningScript = this;
    stepStart_ = GetTickCount();
    timer_ = SetTimer(nullptr, 0, kTickMs, &DialogScript::OnTimer);
}

DialogScript::~DialogScript() {
    if (timer_) KillTimer(nullptr, timer_);
    if (runningScript == this) runningScript = nullptr;
}

std::string DialogScript::failure() const {
    if (!failure_.empty()) return failure_;
    if (next_ < steps_.size())
        return "step " + std::to_string(next_) + " (\"" + Narrow(steps_[next_].title) + "\") never ran";
    return "";
}

void CALLBACK DialogScript::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (runningScript) runningScript->Tick();
}

// An action may open a nested modal dialog; the timer then calls Tick again
// from the nested loop, which goes on with the following steps.
void DialogScript::Tick() {
    if (next_ >= steps_.size() || !failure_.empty()) return;
    HWND window = FindThreadWindow(steps_[next_].title);
    if (!window) {
        if (GetTickCount() - stepStart_ > kStepPatienceMs) {
            failure_ = "step " + std::to_string(next_) + ": no window \"" + Narrow(steps_[next_].title) + "\"";
            CancelThreadDialogs();
        }
        return;
    }
    size_t step = next_++;
    stepStart_ = GetTickCount();
    steps_[step].action(window);
    stepStart_ = GetTickCount();
}
