#pragma once
// Drives a modal dialog from inside its own message loop: a list of steps,
// each waiting until its condition holds (polled every 10 ms from a thread
// timer, so also inside nested modal loops such as a file dialog or a
// message box opened by the dialog), then acting once. A step that waits
// longer than its patience fails the script and cancels every dialog of the
// thread, so that a broken dialog ends the test instead of hanging it.
//
// How an action and the following steps meet is the script's nesting:
// one after another (an action runs to its end before the next step is
// looked at, also when it pumps messages; an action must then not wait for
// a modal loop of its own, it posts the command that opens one), or into
// nested dialogs (an action may open a nested modal dialog and wait for it:
// the following steps run from the nested dialog's loop, and the action goes
// on once they have closed it).
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct Step {
    std::string what;                 // for the failure message
    std::function<bool()> ready;      // polled until it answers true
    std::function<void()> action;     // then run once
    DWORD patienceMs = 15000;
};

enum class StepNesting { OneAfterAnother, IntoNestedDialogs };

class StepScript {
public:
    explicit StepScript(std::vector<Step> steps, StepNesting nesting = StepNesting::OneAfterAnother);
    ~StepScript();
    StepScript(const StepScript&) = delete;
    StepScript& operator=(const StepScript&) = delete;

    bool finished() const { return next_ == steps_.size() && failure_.empty(); }
    // What went wrong, or empty.
    std::string failure() const;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();

    std::vector<Step> steps_;
    StepNesting nesting_;
    size_t next_ = 0;
    bool acting_ = false;
    DWORD stepStart_ = 0;
    std::string failure_;
    UINT_PTR timer_ = 0;
};
