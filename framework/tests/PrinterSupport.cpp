#include "PrinterSupport.h"

#include <objidl.h>  // PROPID, left out by WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "CommonDialogs.h"

namespace {

const wchar_t kSpoolerKey[] = L"Software\\Wine\\Printing\\Spooler";
const wchar_t kPort[] = L"LPT1:";

std::wstring ReadPortFile() {
    wchar_t value[1024] = {};
    DWORD bytes = sizeof value - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, kSpoolerKey, kPort, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS)
        return L"";
    return value;
}

bool WritePortFile(const std::wstring& unixPath) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSpoolerKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    bool done = RegSetValueExW(key, kPort, 0, REG_SZ, reinterpret_cast<const BYTE*>(unixPath.c_str()),
                               static_cast<DWORD>((unixPath.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    RegCloseKey(key);
    return done;
}

std::wstring Widen(const std::string& utf8) {
    if (utf8.empty()) return L"";
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

std::string ReadFileBytes(const std::wstring& path) {
    std::string bytes;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return bytes;
    char buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    fclose(file);
    return bytes;
}

// pdftotext reads two glyphs of the PostScript driver's fonts as look-alikes:
// the hyphen as a soft hyphen and the semicolon as a Greek question mark.
std::wstring Normalised(std::wstring text) {
    for (wchar_t& c : text) {
        if (c == 0x00AD) c = L'-';
        if (c == 0x037E) c = L';';
    }
    return text;
}

double PointsToMm(double points) {
    return points * 25.4 / 72.0;
}

std::wstring Unescape(const std::wstring& html) {
    static const struct {
        const wchar_t* entity;
        wchar_t character;
    } entities[] = {{L"&amp;", L'&'}, {L"&lt;", L'<'}, {L"&gt;", L'>'}, {L"&quot;", L'"'}, {L"&apos;", L'\''}};
    std::wstring text;
    for (size_t k = 0; k < html.size(); ++k) {
        bool replaced = false;
        if (html[k] == L'&') {
            for (const auto& e : entities) {
                size_t length = wcslen(e.entity);
                if (html.compare(k, length, e.entity) == 0) {
                    text += e.character;
                    k += length - 1;
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) text += html[k];
    }
    return text;
}

double Attribute(const std::wstring& tag, const wchar_t* name) {
    std::wstring key = std::wstring(name) + L"=\"";
    size_t at = tag.find(key);
    return at == std::wstring::npos ? 0 : _wtof(tag.c_str() + at + key.size());
}

// The <word> elements of pdftotext's box listing.
std::vector<PageWord> ParseWords(const std::wstring& html) {
    std::vector<PageWord> words;
    size_t at = 0;
    while ((at = html.find(L"<word ", at)) != std::wstring::npos) {
        size_t close = html.find(L'>', at);
        size_t end = html.find(L"</word>", close);
        if (close == std::wstring::npos || end == std::wstring::npos) break;
        std::wstring tag = html.substr(at, close - at);
        PageWord word;
        word.text = Unescape(html.substr(close + 1, end - close - 1));
        word.left = PointsToMm(Attribute(tag, L"xMin"));
        word.top = PointsToMm(Attribute(tag, L"yMin"));
        word.right = PointsToMm(Attribute(tag, L"xMax"));
        word.bottom = PointsToMm(Attribute(tag, L"yMax"));
        words.push_back(word);
        at = end;
    }
    return words;
}

}  // namespace

bool LoadPicture(const std::wstring& path, int* width, int* height, std::vector<uint32_t>* pixels) {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
    bool loaded = false;
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromFile(path.c_str(), &bitmap) == Gdiplus::Ok) {
        UINT w = 0, h = 0;
        Gdiplus::DllExports::GdipGetImageWidth(bitmap, &w);
        Gdiplus::DllExports::GdipGetImageHeight(bitmap, &h);
        Gdiplus::Rect all(0, 0, static_cast<INT>(w), static_cast<INT>(h));
        Gdiplus::BitmapData data{};
        if (Gdiplus::DllExports::GdipBitmapLockBits(bitmap, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppRGB,
                                                    &data) == Gdiplus::Ok) {
            *width = static_cast<int>(w);
            *height = static_cast<int>(h);
            pixels->resize(static_cast<size_t>(w) * h);
            for (UINT y = 0; y < h; ++y) {
                const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const BYTE*>(data.Scan0) +
                                                                   static_cast<ptrdiff_t>(y) * data.Stride);
                for (UINT x = 0; x < w; ++x) (*pixels)[static_cast<size_t>(y) * w + x] = row[x] & 0xFFFFFF;
            }
            Gdiplus::DllExports::GdipBitmapUnlockBits(bitmap, &data);
            loaded = true;
        }
        Gdiplus::DllExports::GdipDisposeImage(bitmap);
    }
    Gdiplus::GdiplusShutdown(token);
    return loaded;
}

bool SavePicture(HBITMAP bitmap, const std::wstring& path) {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
    bool written = false;
    Gdiplus::GpBitmap* image = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) == Gdiplus::Ok) {
        const CLSID pngEncoder = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
        written = Gdiplus::DllExports::GdipSaveImageToFile(image, path.c_str(), &pngEncoder, nullptr) == Gdiplus::Ok;
        Gdiplus::DllExports::GdipDisposeImage(image);
    }
    Gdiplus::GdiplusShutdown(token);
    return written;
}

std::wstring PagesFolder(const wchar_t* group) {
    std::wstring folder = L"..\\printer";
    CreateDirectoryW(folder.c_str(), nullptr);
    folder += L"\\pages";
    CreateDirectoryW(folder.c_str(), nullptr);
    folder = folder + L"\\" + group;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\";
}

std::string UnixPathOf(const std::wstring& windowsPath) {
    wchar_t full[MAX_PATH] = {};
    if (!GetFullPathNameW(windowsPath.c_str(), MAX_PATH, full, nullptr)) return "";
    using Convert = char*(CDECL*)(const wchar_t*);
    auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert) return "";
    char* unixPath = convert(full);
    if (!unixPath) return "";
    std::string answer = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return answer;
}

bool ChooseDefaultPrinter() {
    return RunPrintDlg(PD_RETURNDEFAULT, nullptr, new CPrintDlg) != FALSE && PrinterDevNames() != nullptr;
}

PrinterOutput::PrinterOutput(const wchar_t* group, const wchar_t* name) {
    path = PagesFolder(group) + name + L".ps";
    DeleteFileW(path.c_str());
    previous_ = ReadPortFile();
    std::string unixPath = UnixPathOf(path);
    redirected_ = !unixPath.empty() && WritePortFile(Widen(unixPath));
}

PrinterOutput::~PrinterOutput() {
    if (redirected_ && !previous_.empty()) WritePortFile(previous_);
}

long long PrinterOutput::FileSize() const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string PrinterOutput::Contents() const {
    return ReadFileBytes(path);
}

bool RenderedPage::Load(const wchar_t* group, const wchar_t* name) {
    std::wstring base = PagesFolder(group) + name;
    if (GetFileAttributesW((base + L".txt").c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    text = Normalised(Widen(ReadFileBytes(base + L".txt")));
    words = ParseWords(Normalised(Widen(ReadFileBytes(base + L".words.html"))));
    return LoadPicture(base + L".png", &width, &height, &pixels);
}

const PageWord* RenderedPage::FindWord(const std::wstring& part) const {
    for (const PageWord& word : words)
        if (word.text.find(part) != std::wstring::npos) return &word;
    return nullptr;
}

RECT RenderedPage::PixelBox(const PageWord& word) const {
    return {static_cast<LONG>(MmToPixels(word.left)), static_cast<LONG>(MmToPixels(word.top)),
            static_cast<LONG>(MmToPixels(word.right) + 1), static_cast<LONG>(MmToPixels(word.bottom) + 1)};
}

RECT RenderedPage::InkBounds(int threshold) const {
    RECT bounds{width, height, 0, 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t c = At(x, y);
            int r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
            if (r > threshold && g > threshold && b > threshold) continue;
            if (x < bounds.left) bounds.left = x;
            if (y < bounds.top) bounds.top = y;
            if (x + 1 > bounds.right) bounds.right = x + 1;
            if (y + 1 > bounds.bottom) bounds.bottom = y + 1;
        }
    if (bounds.right <= bounds.left) SetRectEmpty(&bounds);
    return bounds;
}

int RenderedPage::CountColour(uint32_t rgb, const RECT& area, int tolerance) const {
    int count = 0;
    for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, height); ++y)
        for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, width); ++x) {
            uint32_t c = At(x, y);
            if (std::abs(int((c >> 16) & 255) - int((rgb >> 16) & 255)) <= tolerance &&
                std::abs(int((c >> 8) & 255) - int((rgb >> 8) & 255)) <= tolerance &&
                std::abs(int(c & 255) - int(rgb & 255)) <= tolerance)
                ++count;
        }
    return count;
}
