#pragma once
// The main frame's message to itself; the diagram's messages to the frame
// are in DiagramMessages.h.
#include <windows.h>

// Open the command-line file in a new diagram window, once the message loop runs.
constexpr UINT kOpenCommandLineFile = WM_USER;
// Ask what becomes of a run left in the recovery file by a program that
// did not end properly, once the message loop runs.
constexpr UINT kOfferRecoveredRun = WM_USER + 6;
