#pragma once
// The settings' profile store on a Windows INI file through the profile API.
#include <string>

#include "ProfileStore.h"

class Win32ProfileStore : public ProfileStore {
public:
    explicit Win32ProfileStore(std::wstring path) : path_(std::move(path)) {}

    uint32_t getInt(const wchar_t* section, const wchar_t* key, int32_t defaultValue) override;
    std::wstring getString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue,
                           size_t bufferChars) override;
    void writeString(const wchar_t* section, const wchar_t* key, const std::wstring& value) override;

    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

// A file in the folder of the running executable (a module file name of at
// most 256 characters, cut after its last backslash).
std::wstring besideProgram(const std::wstring& fileName);
// "KALTRNX.INI" beside the running executable.
std::wstring settingsFilePath();
// Read and write the program-wide settings from and to that file.
void loadSettings();
void saveSettings();
