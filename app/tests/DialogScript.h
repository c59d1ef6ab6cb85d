#pragma once
// Drives modal dialogs from inside their own message loops: a step script
// (framework/tests/StepScript.h) whose steps each wait for an enabled,
// visible top-level window of this thread with the given title (the dialog
// that currently has the user's attention) and then act on it. Its steps go
// into nested dialogs: an action that opens a nested dialog and waits for it
// continues when the nested dialog's steps have closed it.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "StepScript.h"

struct ScriptStep {
    std::wstring title;
    std::function<void(HWND window)> action;
};

class DialogScript : public StepScript {
public:
    explicit DialogScript(std::vector<ScriptStep> steps);
};

// The enabled, visible top-level window of this thread with that title, or null.
HWND FindThreadWindow(const std::wstring& title);

// Sends a button click notification for control `id` to `dialog`, as a click
// on the button would.
void ClickButton(HWND dialog, int id);
