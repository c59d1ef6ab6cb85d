#pragma once
// Drives modal dialogs from inside their own message loops. A script is a
// list of steps; each step waits for an enabled, visible top-level window of
// this thread with the given title (the dialog that currently has the user's
// attention) and then acts on it. A thread timer runs the steps, so they also
// run inside nested modal loops (a dialog that opens another one, a message
// box): an action that opens a nested dialog and waits for it continues when
// the nested dialog's steps have closed it.
//
// A step that finds no window in time fails the script and closes every
// dialog of the thread, so that a broken dialog ends the test instead of
// hanging it.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct ScriptStep {
    std::wstring title;
    std::function<void(HWND window)> action;
};

class DialogScript {
public:
    explicit DialogScript(std::vector<ScriptStep> steps);
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    bool finished() const { return next_ == steps_.size() && failure_.empty(); }
    // What went wrong, or empty.
    std::string failure() const;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();

    std::vector<ScriptStep> steps_;
    size_t next_ = 0;
    DWORD stepStart_ = 0;
    std::string failure_;
    UINT_PTR timer_ = 0;
};

// The enabled, visible top-level window of this thread with that title, or null.
HWND FindThreadWindow(const std::wstring& title);

// Sends a button click notification for control `id` to `dialog`, as a click
// on the button would.
void ClickButton(HWND dialog, int id);
