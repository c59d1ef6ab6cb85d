#pragma once
// The framework's own notifications, in a range of their own: above the
// program's private messages (WM_USER ...) and clear of the first WM_APP
// messages, which the tests use as probes.
#include <windows.h>

constexpr UINT kFrameworkMessageFirst = WM_APP + 0x1000;

// Sent to a print job's owner with kPrintNotifyOwner: lParam is the document name.
constexpr UINT kPrintJobStarted = kFrameworkMessageFirst + 0;
constexpr UINT kPrintJobEnded = kFrameworkMessageFirst + 1;
