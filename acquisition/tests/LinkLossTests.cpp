// The measurement dialog when its serial port goes away and comes back, as
// an unplugged USB adapter does: the pseudo-terminal pair under the port is
// removed and made again under the same names while the dialog stays open.
//
// link_loss_wine_test.sh puts dynosim, holding 3000 U/min in gear in real
// time, on the port named in KX_SIM_PORT, and carries out the unplug and
// replug requests the test leaves in the folder KX_PORT_REQUESTS.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "FrameDecoder.h"
#include "MeasurementFile.h"
#include "MeasurementFileDialog.h"
#include "MsDlg.h"
#include "Options.h"
#include "SerialLink.h"
#include "Settings.h"
#include "StepScript.h"
#include "TestHelpers.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

int16_t SimPort() {
    const char* port = std::getenv("KX_SIM_PORT");
    return static_cast<int16_t>(port ? std::atoi(port) : 0);
}

std::wstring Widened(const char* text) {
    return text ? std::wstring(text, text + std::strlen(text)) : std::wstring();
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Asks the wrapper to unplug or replug the port; done once NAME.done exists.
std::wstring RequestPort(const char* what) {
    static int serial = 0;
    const std::wstring folder = Widened(std::getenv("KX_PORT_REQUESTS"));
    const std::wstring name = folder + L"\\" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);
    const std::string line = std::string(what) + " " + std::to_string(SimPort()) + "\n";
    HANDLE file = CreateFileW((name + L".tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    MoveFileW((name + L".tmp").c_str(), (name + L".req").c_str());
    return name + L".done";
}

struct Search {
    std::function<bool(HWND)> match;
    HWND found = nullptr;
};

BOOL CALLBACK Match(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    if (!IsWindowVisible(window) || !IsWindowEnabled(window) || !search->match(window)) return TRUE;
    search->found = window;
    return FALSE;
}

HWND ThreadWindow(std::function<bool(HWND)> match) {
    Search search{std::move(match)};
    EnumThreadWindows(GetCurrentThreadId(), &Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND MeasurementDialog() {
    return ThreadWindow([](HWND w) { return WindowTextOf(w) == L"Meßwert-Erfassung"; });
}

CMsDlg* Dialog() {
    return dynamic_cast<CMsDlg*>(ObjectFromWindow(MeasurementDialog()));
}

HWND FileDialog() {
    return ThreadWindow([](HWND w) { return GetDlgItem(w, cmb13) != nullptr; });
}

HWND MessageBoxWith(const std::wstring& start) {
    return ThreadWindow([&start](HWND w) {
        return GetDlgItem(w, 0xFFFF) && WindowTextOf(GetDlgItem(w, 0xFFFF)).rfind(start, 0) == 0;
    });
}

std::wstring Status() {
    return ControlText(MeasurementDialog(), IDC_STATUS_LINE);
}

// The controller is configured and its engine speed shows.
bool Talking() {
    CMsDlg* d = Dialog();
    return d && theLiveValues().statusSeen && d->transmissionLamp->value == 0 && d->rpmGauge->value > 2500 &&
           IsEnabled(d->hwnd, IDC_START) && Status() == L"Warte auf Startknopf";
}

Step Request(const char* what, std::shared_ptr<std::wstring> done) {
    return {std::string("request ") + what, [] { return true; }, [what, done] { *done = RequestPort(what); }};
}

Step WhenDone(std::shared_ptr<std::wstring> done, std::function<void()> action = [] {}) {
    return {"request carried out", [done] { return Exists(*done); }, std::move(action)};
}

class LinkLoss : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(SimPort(), 0) << "run through link_loss_wine_test.sh";
        ResetSettings();
        theLiveValues() = LiveValues{};
        theSettings().hardwareComPort = SimPort();
        theSerialLink().open(SimPort());
        ASSERT_TRUE(theSerialLink().isOpen());
    }
    void TearDown() override {
        theSerialLink().close();
        ResetSettings();
    }
};

TEST_F(LinkLoss, AVanishedPortIsShownAndTakenUpAgainWithoutReopeningTheDialog) {
    CreateDirectoryW(L"C:\\Messungen", nullptr);
    const std::wstring saved = L"C:\\Messungen\\Kunde-0003.kxm";
    DeleteFileW(saved.c_str());
    theSettings().desktopLastFile = L"C:\\Messungen\\Kunde-0002.kxm";
    theSettings().recordResumeMode = 0;  // the dialog stays open after the save
    const std::wstring unavailable = L"Schnittstelle COM" + std::to_wstring(SimPort()) + L" nicht verfügbar";
    auto done = std::make_shared<std::wstring>();
    auto replugged = std::make_shared<DWORD>(0);
    auto frames = std::make_shared<uint32_t>(0);
    HWND opened = nullptr;

    Step unplugged{"port shown as gone", [&] { return Status() == unavailable; }, [&] {
        CMsDlg* d = Dialog();
        EXPECT_FALSE(IsEnabled(d->hwnd, IDC_START)) << "no Start without a port";
        EXPECT_TRUE(theSerialLink().lost());
        *frames = theFrameDecoder().frameCount();
    }};
    Step litLamp{"the lamp lights", [] { return Dialog()->transmissionLamp->value == 1; }, [] {
        SaveScreenshot(MeasurementDialog(), L"link-loss-unavailable.png");
        EXPECT_EQ(MessageBoxWith(L""), nullptr) << "no message box at every try";
    }};
    StepScript script({
        {"talking", &Talking, [&] { opened = MeasurementDialog(); }},
        Request("unplug", done),
        WhenDone(done),
        unplugged,
        litLamp,
        Request("replug", done),
        WhenDone(done, [replugged] { *replugged = GetTickCount(); }),
        {"back", [frames] { return Talking() && theFrameDecoder().frameCount() > *frames + 20; }, [&] {
            EXPECT_LT(GetTickCount() - *replugged, 5000u) << "back within a few seconds";
            EXPECT_EQ(MeasurementDialog(), opened) << "the same dialog";
            SaveScreenshot(MeasurementDialog(), L"link-loss-back.png");
            HWND dialog = MeasurementDialog();
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_START, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_START)));
        }},
        {"recording", [] { return Dialog()->run.runState() == RunState::Recording && Dialog()->run.sampleCount() > 100; },
         [] {}},
        Request("unplug", done),
        {"the operator is told", [&] { return MessageBoxWith(unavailable + L": die Messung wurde beendet.") != nullptr; },
         [&] {
             HWND box = MessageBoxWith(unavailable);
             SaveScreenshot(box, L"link-loss-run-ended.png");
             PostMessageW(box, WM_COMMAND, IDOK, 0);
         }},
        {"save what was recorded", [] { return FileDialog() != nullptr; },
         [] { PostMessageW(FileDialog(), WM_COMMAND, IDOK, 0); }},
        {"idle without its port", [&] { return Dialog() && Status() == unavailable; },
         [] {}},
        Request("replug", done),
        WhenDone(done),
        {"back again", &Talking, [] { PostMessageW(MeasurementDialog(), WM_COMMAND, IDOK, 0); }},
    });
    MeasurementDialogData record;
    DoModal(new CMsDlg({&chooseMeasurementFile, &runOptions, {}}), &record, L"Speed", nullptr);
    EXPECT_EQ(script.failure(), "");
    Measurement m;
    ASSERT_TRUE(readMeasurement(saved, m)) << "the run up to the loss";
    EXPECT_GT(m.sampleCount, 100);
    for (uint16_t i = 1; i < m.sampleCount; ++i) ASSERT_GT(m.times[i], m.times[i - 1]) << "sample " << i;
    EXPECT_LT(m.times[m.sampleCount - 1], 40000000) << "ended before Record/Period";
}

}  // namespace
