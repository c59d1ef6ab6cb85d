#pragma once
// A profile store on an INI file, for the tools and the native tests; it
// behaves as the Windows profile functions do for everything the settings use.
#include <string>
#include <vector>

#include "ProfileStore.h"

class IniFileStore : public ProfileStore {
public:
    // Reads the file if it exists; writes go back to it at once (UTF-8).
    explicit IniFileStore(std::string path);

    uint32_t getInt(const wchar_t* section, const wchar_t* key, int32_t defaultValue) override;
    std::wstring getString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue,
                           size_t bufferChars) override;
    void writeString(const wchar_t* section, const wchar_t* key, const std::wstring& value) override;

    bool wasRead() const { return read_; }

private:
    struct Entry { std::wstring key, value; };
    struct Section { std::wstring name; std::vector<Entry> entries; };

    const std::wstring* find(const wchar_t* section, const wchar_t* key) const;
    void parse(const std::string& utf8);
    void flush() const;

    std::string path_;
    std::vector<Section> sections_;
    bool read_ = false;
};
