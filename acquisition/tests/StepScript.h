#pragma once
// Drives a modal dialog from inside its own message loop: a list of steps,
// each waiting until its condition holds (polled every 10 ms from a thread
// timer, so also inside nested modal loops such as a file dialog or a
// message box opened by the dialog), then acting once. An action must not
// wait for a modal loop of its own: post the command that opens one. A step that waits
// longer than its patience fails the script and cancels every dialog of the
// thread, so that a broken dialog ends the test instead of hanging it.
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

class StepScript {
public:
    explicit StepScript(std::vector<Step> steps);
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
    size_t next_ = 0;
    bool acting_ = false;
    DWORD stepStart_ = 0;
    std::string failure_;
    UINT_PTR timer_ = 0;
};
