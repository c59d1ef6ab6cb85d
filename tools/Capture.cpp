#include "Capture.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "FileIo.h"

namespace {

constexpr size_t kMaxCapture = 256u << 20;

bool readAll(std::FILE* in, std::string& out) {
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        out.append(buffer, n);
        if (out.size() > kMaxCapture) return false;
    }
    return !std::ferror(in);
}

}  // namespace

bool readCapture(const std::wstring& path, std::string& out) {
    if (path.empty() || path == L"-") {
#ifdef _WIN32
        _setmode(_fileno(stdin), _O_BINARY);
#endif
        return readAll(stdin, out);
    }
    return readFilePrefix(path, kMaxCapture + 1, out) && out.size() <= kMaxCapture;
}
