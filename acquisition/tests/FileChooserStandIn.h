#pragma once
// STAND-IN for the application's measurement-file dialog while it is not in
// this build: the same platform dialog over Desktop/LastFile (folder and name
// split at the last backslash, the digit before the extension advanced with
// flag bit 1), so that the measurement dialog's tests answer a real save
// dialog. Replace it by chooseMeasurementFile once that is on main.
#include <windows.h>

int ChooseFileStandIn(HWND owner, int flags);
