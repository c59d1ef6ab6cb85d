#include "TextBuffers.h"

#include <string>

#include "FrameworkState.h"

wchar_t* NextTextBuffer() {
    FrameworkState& fw = theFramework();
    wchar_t* buffer = fw.textBuffers[fw.nextTextBuffer];
    fw.nextTextBuffer = (fw.nextTextBuffer + 1) % kTextBufferCount;
    buffer[0] = L'\0';
    return buffer;
}

wchar_t* LoadText(UINT id) {
    wchar_t* buffer = NextTextBuffer();
    if (LoadStringW(FrameworkInstance(), id, buffer, kTextBufferSize) <= 0) buffer[0] = L'\0';
    return buffer;
}

wchar_t* WidenText(const char* text) {
    wchar_t* buffer = NextTextBuffer();
    if (!text) return buffer;
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, buffer, kTextBufferSize);
    if (length == 0) {
        // longer than a buffer: keep what fits
        int needed = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
        if (needed > 0) {
            std::wstring whole(needed, L'\0');
            MultiByteToWideChar(CP_ACP, 0, text, -1, &whole[0], needed);
            lstrcpynW(buffer, whole.c_str(), kTextBufferSize);
        }
    }
    return buffer;
}

wchar_t* CopyText(const wchar_t* text) {
    wchar_t* buffer = NextTextBuffer();
    if (text) lstrcpynW(buffer, text, kTextBufferSize);
    return buffer;
}
