#include "RunningInstance.h"

#include <cstdint>

#include "FrameMessages.h"

namespace {

constexpr DWORD kFrameWaitMs = 10000;
constexpr DWORD kPollMs = 50;
constexpr UINT kSendTimeoutMs = 10000;

}  // namespace

RunningInstance::~RunningInstance() {
    if (frameValue) UnmapViewOfFile(const_cast<LONGLONG*>(frameValue));
    if (block) CloseHandle(block);
}

std::wstring RunningInstance::BlockName(const std::wstring& programPath) {
    std::wstring folder = programPath.substr(0, programPath.rfind(L'\\') + 1);
    if (!folder.empty()) CharUpperBuffW(&folder[0], static_cast<DWORD>(folder.size()));
    // FNV-1a over the folder's UTF-16 units: a name without backslashes
    uint64_t hash = 14695981039346656037ull;
    for (wchar_t c : folder) {
        hash ^= static_cast<uint16_t>(c);
        hash *= 1099511628211ull;
    }
    wchar_t name[64];
    wsprintfW(name, L"Local\\Kaltrenox-%08lx%08lx", static_cast<unsigned long>(hash >> 32),
              static_cast<unsigned long>(hash & 0xffffffffu));
    return name;
}

bool RunningInstance::Claim(const std::wstring& programPath) {
    block = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONGLONG),
                               BlockName(programPath).c_str());
    if (!block) return true;  // nothing to share: run on alone
    owner = GetLastError() != ERROR_ALREADY_EXISTS;
    frameValue = static_cast<volatile LONGLONG*>(MapViewOfFile(block, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(LONGLONG)));
    return owner || !frameValue;
}

void RunningInstance::Publish(HWND frame) {
    if (owner && frameValue)
        InterlockedExchange64(const_cast<LONGLONG*>(frameValue), static_cast<LONGLONG>(reinterpret_cast<intptr_t>(frame)));
}

bool RunningInstance::HandOver(const std::wstring& path) const {
    if (owner || !frameValue) return false;
    HWND frame = nullptr;
    for (DWORD waited = 0; waited <= kFrameWaitMs; waited += kPollMs) {
        frame = reinterpret_cast<HWND>(static_cast<intptr_t>(*frameValue));
        if (frame && IsWindow(frame)) break;
        frame = nullptr;
        Sleep(kPollMs);
    }
    if (!frame) return false;
    // the program started from Explorer may put the running one in front
    DWORD process = 0;
    GetWindowThreadProcessId(frame, &process);
    AllowSetForegroundWindow(process);
    COPYDATASTRUCT data{};
    data.dwData = kHandOverTag;
    data.cbData = static_cast<DWORD>(path.size() * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(path.data());
    DWORD_PTR taken = 0;
    return SendMessageTimeoutW(frame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                               kSendTimeoutMs, &taken) &&
           taken == TRUE;
}
