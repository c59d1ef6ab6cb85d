#pragma once
// Screenshots of the dialogs for build/screenshots/. The picture comes from
// the window's own drawing surface, not from the screen, so that other
// windows on the same X display (other Wine prefixes) cannot cover it.
#include <windows.h>

// Writes the window (frame and children) as build/screenshots/NAME; answers
// whether the file was written and shows more than one colour.
bool SaveWindowImage(HWND window, const wchar_t* fileName);
