#pragma once
// The main frame's messages to itself; the diagram's messages to the frame
// are in DiagramMessages.h.
#include <windows.h>

// Open the command-line file in a new diagram window, once the message loop runs.
constexpr UINT kOpenCommandLineFile = WM_USER;
// Open the files a second start of the program handed over (WM_COPYDATA), once
// the sender has its answer, and come to the front.
constexpr UINT kFilesHandedOver = WM_USER + 5;

// WM_COPYDATA's dwData for a file handed over: the path in UTF-16 (its length
// is cbData; no terminating NUL needed, and a path ends at the first NUL).
constexpr ULONG_PTR kHandOverTag = 0x4B584D31;  // "KXM1"
// Ask what becomes of a run left in the recovery file by a program that
// did not end properly, once the message loop runs.
constexpr UINT kOfferRecoveredRun = WM_USER + 6;
