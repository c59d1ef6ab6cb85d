#include "PrinterSupport.h"

#include <objidl.h>  // PROPID, left out by WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

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

bool LoadPng(const std::wstring& path, RenderedPage* page) {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
    bool loaded = false;
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromFile(path.c_str(), &bitmap) == Gdiplus::Ok) {
        UINT width = 0, height = 0;
        Gdiplus::DllExports::GdipGetImageWidth(bitmap, &width);
        Gdiplus::DllExports::GdipGetImageHeight(bitmap, &height);
        Gdiplus::Rect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
        Gdiplus::BitmapData data{};
        if (Gdiplus::DllExports::GdipBitmapLockBits(bitmap, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppRGB,
                                                    &data) == Gdiplus::Ok) {
            page->width = static_cast<int>(width);
            page->height = static_cast<int>(height);
            page->pixels.resize(static_cast<size_t>(width) * height);
            for (UINT y = 0; y < height; ++y) {
                const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const BYTE*>(data.Scan0) +
                                                                   static_cast<ptrdiff_t>(y) * data.Stride);
                for (UINT x = 0; x < width; ++x) page->pixels[static_cast<size_t>(y) * width + x] = row[x] & 0xFFFFFF;
            }
            Gdiplus::DllExports::GdipBitmapUnlockBits(bitmap, &data);
            loaded = true;
        }
        Gdiplus::DllExports::GdipDisposeImage(bitmap);
    }
    Gdiplus::GdiplusShutdown(token);
    return loaded;
}

}  // namespace

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
    text = Widen(ReadFileBytes(base + L".txt"));
    return LoadPng(base + L".png", this);
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
