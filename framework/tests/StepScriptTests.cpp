// The step scripts that drive the dialog tests: steps in order, each once,
// one after another or into a nested modal loop, and a step that never gets
// ready ends the script and the dialogs it waits in.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "StepScript.h"
#include "TestSupport.h"

namespace {

// The visible window of this thread with that caption, or null.
HWND FindCaption(const wchar_t* caption) {
    std::pair<const wchar_t*, HWND> search{caption, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM p) {
            auto* s = reinterpret_cast<std::pair<const wchar_t*, HWND>*>(p);
            if (!IsWindowVisible(w) || WindowTextOf(w) != s->first) return TRUE;
            s->second = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// Runs the message loop until the script has finished or failed.
void RunUntilDone(const StepScript& script) {
    const DWORD start = GetTickCount();
    while (!script.finished() && script.failure().find("never ran") != std::string::npos &&
           GetTickCount() - start < 20000) {
        PumpMessages();
        Sleep(5);
    }
}

}  // namespace

TEST(StepScript, IntoNestedDialogsTheNextStepsRunInsideTheActionsModalLoop) {
    std::vector<std::string> log;
    StepScript script(
        {
            {"open a box", [] { return true; },
             [&] {
                 log.push_back("box opens");
                 MessageBoxW(nullptr, L"innen", L"Verschachtelt", MB_OK);
                 log.push_back("box closed");
             }},
            {"close the box", [] { return FindCaption(L"Verschachtelt") != nullptr; },
             [&] {
                 log.push_back("closing");
                 PostMessageW(FindCaption(L"Verschachtelt"), WM_COMMAND, IDOK, 0);
             }},
        },
        StepNesting::IntoNestedDialogs);
    RunUntilDone(script);
    EXPECT_TRUE(script.finished()) << script.failure();
    EXPECT_EQ(log, (std::vector<std::string>{"box opens", "closing", "box closed"}));
}

TEST(StepScript, OneAfterAnotherAnActionThatPumpsIsNotInterrupted) {
    std::vector<std::string> log;
    StepScript script({
        {"pump", [] { return true; },
         [&] {
             log.push_back("pumping");
             const DWORD start = GetTickCount();
             while (GetTickCount() - start < 100) PumpMessages();  // timer ticks arrive meanwhile
             log.push_back("pumped");
         }},
        {"second", [] { return true; }, [&] { log.push_back("second"); }},
    });
    RunUntilDone(script);
    EXPECT_TRUE(script.finished()) << script.failure();
    EXPECT_EQ(log, (std::vector<std::string>{"pumping", "pumped", "second"}));
}

TEST(StepScript, AStepThatNeverGetsReadyFailsTheScriptAndNamesTheStep) {
    int ran = 0;
    StepScript script({
        {"first", [] { return true; }, [&] { ++ran; }},
        {"the window that never comes", [] { return false; }, [&] { ++ran; }, 100},
    });
    const DWORD start = GetTickCount();
    while (script.failure().find("timed out") == std::string::npos && GetTickCount() - start < 5000) {
        PumpMessages();
        Sleep(5);
    }
    EXPECT_FALSE(script.finished());
    EXPECT_EQ(script.failure(), "step 1 (the window that never comes) timed out");
    EXPECT_EQ(ran, 1);
}
