#include "PictureFiles.h"

#include <objidl.h>  // PROPID, left out by WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include <cwchar>
#include <vector>

#include "GdiPlus.h"

namespace {

using namespace Gdiplus::DllExports;

// The encoder GDI+ lists for "image/png".
bool FindPngEncoder(CLSID& encoder) {
    UINT count = 0, size = 0;
    if (GdipGetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
    std::vector<unsigned char> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (GdipGetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && std::wcscmp(codecs[i].MimeType, L"image/png") == 0) {
            encoder = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

// The whole file; false when it cannot be read.
bool ReadWholeFile(const wchar_t* path, std::string& bytes) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool read = GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (LONGLONG(1) << 30);
    if (read) {
        bytes.resize(size_t(size.QuadPart));
        DWORD got = 0;
        read = ReadFile(file, &bytes[0], DWORD(bytes.size()), &got, nullptr) && got == bytes.size();
    }
    CloseHandle(file);
    return read;
}

}  // namespace

bool EncodePng(HBITMAP bitmap, int dpi, std::string& bytes) {
    bytes.clear();
    // the encoder writes a file of the temporary folder, which is read back
    // and removed: the caller decides where the picture goes
    wchar_t folder[MAX_PATH] = {}, temporary[MAX_PATH] = {};
    if (!GetTempPathW(MAX_PATH, folder) || !GetTempFileNameW(folder, L"kxp", 0, temporary)) return false;
    bool encoded = false;
    CLSID encoder{};
    Gdiplus::GpBitmap* image = nullptr;
    if (GdiPlusReady() && FindPngEncoder(encoder) && GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) == Gdiplus::Ok) {
        GdipBitmapSetResolution(image, Gdiplus::REAL(dpi), Gdiplus::REAL(dpi));
        encoded = GdipSaveImageToFile(image, temporary, &encoder, nullptr) == Gdiplus::Ok;
        GdipDisposeImage(image);
    }
    encoded = encoded && ReadWholeFile(temporary, bytes);
    DeleteFileW(temporary);
    if (!encoded) bytes.clear();
    return encoded;
}

bool MetafileBytes(HENHMETAFILE metafile, std::string& bytes) {
    bytes.clear();
    const UINT size = metafile ? GetEnhMetaFileBits(metafile, 0, nullptr) : 0;
    if (size == 0) return false;
    bytes.resize(size);
    if (GetEnhMetaFileBits(metafile, size, reinterpret_cast<BYTE*>(&bytes[0])) != size) {
        bytes.clear();
        return false;
    }
    return true;
}
