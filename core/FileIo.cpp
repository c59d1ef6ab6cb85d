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

std::filesystem::path toPath(const std::wstring& path) {
#ifdef _WIN32
    return std::filesystem::path(path);
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

std::FILE* openFile(const std::wstring& path, const char* mode) {
#ifdef _WIN32
    std::wstring wmode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(path.c_str(), wmode.c_str());
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
