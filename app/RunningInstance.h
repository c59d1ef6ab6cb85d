#pragma once
// RunningInstance: one Kaltrenox per program folder. Both programs of one
// folder would write the same KALTRNX.INI at their end, and on Windows only
// one can open the COM port; so a second start hands its file to the frame
// of the first, which opens it in a new diagram window and comes to the
// front, and ends. The first program's frame is found through a small named
// shared block that lives as long as that program (no stale state after a
// crash). Programs in other folders, with their own settings, run side by side.
#include <windows.h>

#include <string>

class RunningInstance {
public:
    RunningInstance() = default;
    RunningInstance(const RunningInstance&) = delete;
    RunningInstance& operator=(const RunningInstance&) = delete;
    ~RunningInstance();

    // Claims the folder of the program file `programPath` for this process;
    // answers false when a program of the same folder already holds it.
    bool Claim(const std::wstring& programPath);
    // The claiming program names its frame, once the frame exists.
    void Publish(HWND frame);
    // Gives `path` (empty: only bring it to the front) to the frame of the
    // program holding the folder, waiting up to 10 s for that frame to
    // appear; answers whether the frame took it.
    bool HandOver(const std::wstring& path) const;

    // The shared block's name for a program folder: the same for every
    // spelling of the folder's letters.
    static std::wstring BlockName(const std::wstring& programPath);

private:
    HANDLE block = nullptr;
    volatile LONGLONG* frameValue = nullptr;  // the frame's handle, 0 until published
    bool owner = false;
};
