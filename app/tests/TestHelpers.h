#pragma once
// Small helpers shared by the dialog tests.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Measurement.h"

// theSettings() back to the defaults, with the choice lists a started
// program has.
void ResetSettings();

std::wstring ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::wstring& text);
bool IsVisible(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);

// Selected item text of a combo box, and all its items.
std::wstring ComboSelection(HWND dialog, int id);
std::vector<std::wstring> ComboItems(HWND dialog, int id);
// Selects an item as the user would (the dialog hears CBN_SELCHANGE).
void ChooseComboItem(HWND dialog, int id, int index);

// The notebook's tab of page `page` and the pages whose tab is checked.
HWND NotebookTab(HWND dialog, int page);
std::vector<int> CheckedTabs(HWND dialog);

// Texts of the static children of a message box (its message).
std::vector<std::wstring> MessageTexts(HWND box);

// A run at constant speed: `revolutions` roller revolutions `period` ticks
// apart, with the given header values.
Measurement ConstantRun(const std::wstring& path, int32_t period, uint16_t revolutions);

std::string Narrow(const std::wstring& text);
