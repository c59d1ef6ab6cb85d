#pragma once
// The main frame's message to itself; the diagram's messages to the frame
// are in DiagramMessages.h.
#include <windows.h>

// Open the command-line file in a new diagram window, once the message loop runs.
constexpr UINT kOpenCommandLineFile = WM_USER;
