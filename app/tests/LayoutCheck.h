#pragma once
// Checks that a dialog looks finished: no label cut off, no two controls on
// top of each other, nothing outside its page or the dialog. Each answer lists
// the offending controls ("2058 'min. Geschw.:' ..."), empty when all is well.
#include <windows.h>

#include <string>
#include <vector>

// The visible children of `dialog` (direct children only).
std::vector<HWND> VisibleControls(HWND dialog);

// Labels, check boxes, group boxes and buttons whose text is wider than the
// room the control gives it.
std::vector<std::string> ClippedTexts(const std::vector<HWND>& controls);

// Pairs of controls whose window rectangles intersect; a group box may hold
// controls but not cut through them.
std::vector<std::string> Overlaps(const std::vector<HWND>& controls);

// Controls that do not lie wholly inside `area` (screen coordinates).
std::vector<std::string> OutsideOf(const std::vector<HWND>& controls, const RECT& area);

// Text of every direct child, in Z order.
std::vector<std::wstring> ChildTexts(HWND dialog);
