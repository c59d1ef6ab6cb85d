#include "Win32ProfileStore.h"

#include <windows.h>

#include <vector>

#include "Settings.h"

uint32_t Win32ProfileStore::getInt(const wchar_t* section, const wchar_t* key, int32_t defaultValue) {
    return GetPrivateProfileIntW(section, key, defaultValue, path_.c_str());
}

std::wstring Win32ProfileStore::getString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue,
                                          size_t bufferChars) {
    std::vector<wchar_t> buffer(bufferChars + 1, 0);
    GetPrivateProfileStringW(section, key, defaultValue, buffer.data(), DWORD(bufferChars), path_.c_str());
    return std::wstring(buffer.data());
}

void Win32ProfileStore::writeString(const wchar_t* section, const wchar_t* key, const std::wstring& value) {
    WritePrivateProfileStringW(section, key, value.c_str(), path_.c_str());
}

std::wstring besideProgram(const std::wstring& fileName) {
    wchar_t module[257] = {};
    GetModuleFileNameW(nullptr, module, 256);
    std::wstring path(module);
    const size_t slash = path.find_last_of(L'\\');
    path = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
    return path + fileName;
}

std::wstring settingsFilePath() {
    return besideProgram(L"KALTRNX.INI");
}

void loadSettings() {
    Win32ProfileStore store(settingsFilePath());
    loadSettings(theSettings(), store);
}

void saveSettings() {
    Win32ProfileStore store(settingsFilePath());
    saveSettings(theSettings(), store);
}
