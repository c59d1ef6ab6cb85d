#pragma once
// Where settings rows are read from and written to: the Windows profile API in
// the program, a small INI file reader of the same behaviour for the tools.
#include <cstddef>
#include <cstdint>
#include <string>

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // As GetPrivateProfileIntW: the default when the key is missing, 0 when
    // its text is no number.
    virtual uint32_t getInt(const wchar_t* section, const wchar_t* key, int32_t defaultValue) = 0;
    // As GetPrivateProfileStringW into a buffer of bufferChars characters
    // (so at most bufferChars - 1 are returned).
    virtual std::wstring getString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue,
                                   size_t bufferChars) = 0;
    // As WritePrivateProfileStringW.
    virtual void writeString(const wchar_t* section, const wchar_t* key, const std::wstring& value) = 0;
};
