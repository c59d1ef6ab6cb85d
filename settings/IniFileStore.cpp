#include "IniFileStore.h"

#include <fstream>
#include <sstream>

#include "NumberText.h"
#include "Utf8.h"

namespace {

std::wstring trim(const std::wstring& s) {
    size_t a = 0, b = s.size();
    while (a < b && (s[a] == L' ' || s[a] == L'\t' || s[a] == L'\r')) ++a;
    while (b > a && (s[b - 1] == L' ' || s[b - 1] == L'\t' || s[b - 1] == L'\r')) --b;
    return s.substr(a, b - a);
}

bool equalNoCase(const std::wstring& a, const wchar_t* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'A' && x <= L'Z') x = wchar_t(x - L'A' + L'a');
        if (y >= L'A' && y <= L'Z') y = wchar_t(y - L'A' + L'a');
        if (x != y) return false;
    }
    return i == a.size() && b[i] == 0;
}

}  // namespace

IniFileStore::IniFileStore(std::string path) : path_(std::move(path)) {
    std::ifstream in(path_, std::ios::binary);
    if (!in) return;
    std::stringstream buffer;
    buffer << in.rdbuf();
    parse(buffer.str());
    read_ = true;
}

void IniFileStore::parse(const std::string& utf8) {
    std::wstring text = fromUtf8(utf8);
    if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
    std::wistringstream lines(text);
    std::wstring line;
    Section* current = nullptr;
    while (std::getline(lines, line)) {
        const std::wstring t = trim(line);
        if (t.empty() || t[0] == L';') continue;
        if (t[0] == L'[') {
            const size_t close = t.find(L']');
            sections_.push_back({trim(t.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1)), {}});
            current = &sections_.back();
            continue;
        }
        const size_t eq = t.find(L'=');
        if (!current || eq == std::wstring::npos) continue;
        current->entries.push_back({trim(t.substr(0, eq)), trim(t.substr(eq + 1))});
    }
}

const std::wstring* IniFileStore::find(const wchar_t* section, const wchar_t* key) const {
    for (const Section& s : sections_) {
        if (!equalNoCase(s.name, section)) continue;
        for (const Entry& e : s.entries)
            if (equalNoCase(e.key, key)) return &e.value;
    }
    return nullptr;
}

uint32_t IniFileStore::getInt(const wchar_t* section, const wchar_t* key, int32_t defaultValue) {
    const std::wstring* value = find(section, key);
    if (!value || value->empty()) return uint32_t(defaultValue);
    return uint32_t(parseLong(*value));
}

std::wstring IniFileStore::getString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue,
                                     size_t bufferChars) {
    const std::wstring* found = find(section, key);
    std::wstring value = found ? *found : trim(defaultValue ? defaultValue : L"");
    // the profile functions strip one pair of enclosing quotes
    if (value.size() >= 2 && ((value.front() == L'"' && value.back() == L'"') ||
                              (value.front() == L'\'' && value.back() == L'\'')))
        value = value.substr(1, value.size() - 2);
    if (bufferChars == 0) return std::wstring();
    if (value.size() > bufferChars - 1) value.resize(bufferChars - 1);
    return value;
}

void IniFileStore::writeString(const wchar_t* section, const wchar_t* key, const std::wstring& value) {
    Section* target = nullptr;
    for (Section& s : sections_)
        if (equalNoCase(s.name, section)) { target = &s; break; }
    if (!target) {
        sections_.push_back({section, {}});
        target = &sections_.back();
    }
    Entry* entry = nullptr;
    for (Entry& e : target->entries)
        if (equalNoCase(e.key, key)) { entry = &e; break; }
    if (entry)
        entry->value = value;
    else
        target->entries.push_back({key, value});
    flush();
}

void IniFileStore::flush() const {
    std::wstring text;
    for (const Section& s : sections_) {
        text += L"[" + s.name + L"]\r\n";
        for (const Entry& e : s.entries) text += e.key + L"=" + e.value + L"\r\n";
    }
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out << toUtf8(text);
}
