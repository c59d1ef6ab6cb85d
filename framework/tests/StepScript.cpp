#include "StepScript.h"

#include "TestSupport.h"

namespace {

constexpr UINT kPollMs = 10;

StepScript* runningScript = nullptr;

}  // namespace

StepScript::StepScript(std::vector<Step> steps, StepNesting nesting) : steps_(std::move(steps)), nesting_(nesting) {
    runningScript = this;
    stepStart_ = GetTickCount();
    timer_ = SetTimer(nullptr, 0, kPollMs, &StepScript::OnTimer);
}

StepScript::~StepScript() {
    if (timer_) KillTimer(nullptr, timer_);
    if (runningScript == this) runningScript = nullptr;
}

std::string StepScript::failure() const {
    if (!failure_.empty()) return failure_;
    if (next_ < steps_.size()) return "step " + std::to_string(next_) + " (" + steps_[next_].what + ") never ran";
    return "";
}

void CALLBACK StepScript::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (runningScript) runningScript->Tick();
}

// Modal loops that the dialog opens (file dialog, message box) run the
// following steps from their own loops. One after another, an action is
// never interrupted by the next step, even when it pumps messages (a
// screenshot does). Into nested dialogs, the next step's patience starts
// with the action that opens its dialog.
void StepScript::Tick() {
    if (acting_ || next_ >= steps_.size() || !failure_.empty()) return;
    Step& step = steps_[next_];
    if (!step.ready()) {
        if (GetTickCount() - stepStart_ > step.patienceMs) {
            failure_ = "step " + std::to_string(next_) + " (" + step.what + ") timed out";
            CancelThreadDialogs();
        }
        return;
    }
    const size_t index = next_++;
    acting_ = nesting_ == StepNesting::OneAfterAnother;
    stepStart_ = GetTickCount();
    steps_[index].action();
    acting_ = false;
    stepStart_ = GetTickCount();
}
