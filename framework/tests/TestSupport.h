#pragma once
// Helpers for driving real windows in the framework tests (run under Wine).
#include <windows.h>

#include <string>

// Dispatches every message waiting for this thread; a quit message stays.
void PumpMessages();

std::wstring WindowTextOf(HWND window);
std::wstring ClassNameOf(HWND window);

// A child's window rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);

// Dialog units of `dialog` in pixels, one value at a time.
int DluX(HWND dialog, int units);
int DluY(HWND dialog, int units);

// Posts the cancel command to every dialog (class #32770) of this thread.
void CancelThreadDialogs();

// Copies the width x height area at (x, y) of `source` into a new bitmap,
// which the caller deletes.
HBITMAP CopyToBitmap(HDC source, int x, int y, int width, int height);

// Writes the bitmap as a PNG file; answers whether the file was written.
bool SavePng(HBITMAP bitmap, const std::wstring& path);

// Creates build/screenshots/ (the tests run in build/windows/bin), paints
// the window with its frame and children at once and answers the path of
// build/screenshots/NAME.
std::wstring PrepareScreenshot(HWND window, const wchar_t* fileName);

// Writes what the window shows on screen (frame and children) as a PNG under
// build/screenshots/; answers whether the file was written.
bool SaveScreenshot(HWND window, const wchar_t* fileName);
