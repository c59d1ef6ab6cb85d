#include "FileIo.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "Utf8.h"

namespace {

// Below this a path and its temporary sibling fit every Windows call (a
// folder may be at most 260 - 12 characters long).
constexpr size_t kLongPathFrom = 248;

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool hasDotStep(const std::wstring& path) {
    size_t start = 0;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && !isSeparator(path[i])) continue;
        const std::wstring step = path.substr(start, i - start);
        if (step == L"." || step == L"..") return true;
        start = i + 1;
    }
    return false;
}

std::filesystem::path toPath(const std::wstring& path) {
#ifdef _WIN32
    return std::filesystem::path(extendedLengthPath(path));
#else
    return std::filesystem::path(toUtf8(path));
#endif
}

bool syncToDisk(std::FILE* f) {
    if (std::fflush(f) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

}  // namespace

std::wstring extendedLengthPath(const std::wstring& path) {
    if (path.size() < kLongPathFrom || hasDotStep(path)) return path;
    const bool drive = path.size() > 2 && path[1] == L':' && isSeparator(path[2]) &&
                       ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
    const bool server = isSeparator(path[0]) && isSeparator(path[1]) && path[2] != L'?' && path[2] != L'.';
    if (!drive && !server) return path;
    std::wstring literal = server ? L"\\\\?\\UNC\\" + path.substr(2) : L"\\\\?\\" + path;
    std::replace(literal.begin(), literal.end(), L'/', L'\\');
    return literal;
}

std::FILE* openFile(const std::wstring& path, const char* mode) {
#ifdef _WIN32
    std::wstring wmode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(extendedLengthPath(path).c_str(), wmode.c_str());
#else
    return std::fopen(toUtf8(path).c_str(), mode);
#endif
}

bool readFilePrefix(const std::wstring& path, size_t maxBytes, std::string& out) {
    out.clear();
    if (path.empty()) return false;
    std::FILE* f = openFile(path, "rb");
    if (!f) return false;
    char buffer[16384];
    bool ok = true;
    while (out.size() < maxBytes) {
        const size_t want = std::min(sizeof buffer, maxBytes - out.size());
        const size_t got = std::fread(buffer, 1, want, f);
        out.append(buffer, got);
        if (got < want) {
            ok = !std::ferror(f);
            break;
        }
    }
    std::fclose(f);
    return ok;
}

bool replaceFileContents(const std::wstring& path, const std::string& data) {
    if (path.empty()) return false;
    const std::wstring temporary = path + L".tmp~";
    std::FILE* f = openFile(temporary, "wb");
    if (!f) return false;
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    ok = syncToDisk(f) && ok;
    ok = std::fclose(f) == 0 && ok;
    std::error_code ec;
    if (ok) {
        std::filesystem::rename(toPath(temporary), toPath(path), ec);
        ok = !ec;
    }
    if (!ok) std::filesystem::remove(toPath(temporary), ec);
    return ok;
}

bool removeFile(const std::wstring& path) {
    if (path.empty()) return false;
    std::error_code ec;
    std::filesystem::remove(toPath(path), ec);
    return !ec;
}

bool fileExists(const std::wstring& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(toPath(path), ec);
}
