// The real kaltrenox.exe and a run it could not save: the program is killed
// while the save dialog of a finished run is open, and the next start asks
// about the run it left in "Wiederherstellung.kxm" beside the program. "Ja"
// saves it under the next name after Desktop/LastFile; "Nein" deletes it
// only after a second question.
//
// recovered_run_wine_test.sh puts dynosim, holding 3000 U/min in gear in
// real time, on the port named in KX_STEADY_PORT.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "KaltrenoxProcess.h"
#include "MeasurementFile.h"
#include "resource.h"

namespace {

const wchar_t kMeasurementTitle[] = L"Meßwert-Erfassung";
const wchar_t kFolder[] = L"C:\\Messungen";

std::string FileImage(const std::wstring& path) {
    std::string image;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return image;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) image.append(buffer, got);
    CloseHandle(file);
    return image;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A message box of the program whose text starts with `start`.
HWND MessageBoxWith(const KaltrenoxProcess& run, const std::wstring& start) {
    return run.FindTopLevel([&start](HWND w) {
        HWND text = GetDlgItem(w, 0xFFFF);
        return text && IsWindowEnabled(w) && KaltrenoxProcess::Text(text).rfind(start, 0) == 0;
    });
}

HWND WaitForBox(const KaltrenoxProcess& run, const std::wstring& start) {
    HWND box = nullptr;
    KaltrenoxProcess::WaitUntil([&] { return (box = MessageBoxWith(run, start)) != nullptr; }, 15000);
    return box;
}

HWND WaitForFileDialog(const KaltrenoxProcess& run) {
    HWND dialog = nullptr;
    KaltrenoxProcess::WaitUntil([&] {
        dialog = run.FindTopLevel([](HWND w) { return GetDlgItem(w, cmb13) != nullptr && IsWindowEnabled(w); });
        return dialog != nullptr;
    }, 15000);
    return dialog;
}

std::wstring ExpectedQuestion(int32_t recordedAt) {
    std::time_t when = recordedAt;
    wchar_t date[128] = {};
    std::wcsftime(date, 128, L"%d.%m.%Y um %H:%M Uhr", std::localtime(&when));
    return L"Eine nicht gespeicherte Messung vom " + std::wstring(date) + L" wurde gefunden. Jetzt speichern?";
}

void Answer(HWND box, int button) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
}

class RecoveredRun : public ::testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryW(kFolder, nullptr);
        for (const wchar_t* name : {L"Kunde-0001.kxm", L"Kunde-0002.kxm"})
            DeleteFileW((std::wstring(kFolder) + L"\\" + name).c_str());
        DeleteFileW(recovery().c_str());
    }
    std::wstring recovery() const { return run.folder + L"\\Wiederherstellung.kxm"; }
    KaltrenoxProcess run{L"recovery"};
};

TEST_F(RecoveredRun, KilledDuringTheSaveDialogTheNextStartSavesTheRun) {
    const char* port = std::getenv("KX_STEADY_PORT");
    ASSERT_NE(port, nullptr) << "run through recovered_run_wine_test.sh";
    run.SetIni(L"Hardware", L"ComPort", std::wstring(port, port + std::strlen(port)));
    run.SetIni(L"Desktop", L"LastFile", std::wstring(kFolder) + L"\\Kunde-0001.kxm");
    run.SetIni(L"Record", L"Period", L"3");
    run.SetIni(L"Weather", L"Auto", L"0");
    run.SetIni(L"Weather", L"Temperature", L"19");
    run.SetIni(L"Weather", L"Pressure", L"1004");
    run.SetIni(L"Weather", L"Humidity", L"47");
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return run.AboutBox() == nullptr; }, 15000));
    run.PostCommand(ID_MEASURE);
    HWND dialog = nullptr;
    ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return (dialog = run.Dialog(kMeasurementTitle)) != nullptr; }, 10000));
    Sleep(1500);  // the controller is configured while the dialog is idle
    const DWORD started = static_cast<DWORD>(std::time(nullptr));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_START, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_START)));
    ASSERT_NE(WaitForFileDialog(run), nullptr) << "the run ended and asks for its name";
    ASSERT_TRUE(Exists(recovery())) << "the finished run is kept while the file dialog asks";

    TerminateProcess(run.process.hProcess, 1);
    ASSERT_TRUE(run.WaitForExit(10000));
    const std::string kept = FileImage(recovery());
    Measurement m;
    ASSERT_TRUE(readMeasurement(recovery(), m));
    EXPECT_GT(m.times[m.sampleCount - 1], 6000000) << "three seconds recorded";
    for (uint16_t i = 1; i < m.sampleCount; ++i) ASSERT_GT(m.times[i], m.times[i - 1]) << "sample " << i;
    EXPECT_NEAR(m.gearRatio, 3.0, 0.05);
    EXPECT_EQ(m.temperature, 19);
    EXPECT_EQ(m.pressure, 1004);
    EXPECT_EQ(m.humidity, 47);
    EXPECT_GE(static_cast<DWORD>(m.recordedAt), started + 3) << "taken when the recording ended";
    EXPECT_LE(static_cast<DWORD>(m.recordedAt), static_cast<DWORD>(std::time(nullptr)));

    ASSERT_TRUE(run.Start());
    HWND question = WaitForBox(run, L"Eine nicht gespeicherte Messung");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(KaltrenoxProcess::Text(GetDlgItem(question, 0xFFFF)), ExpectedQuestion(m.recordedAt));
    KaltrenoxProcess::SaveScreenshot(question, L"recovered-run-question.png");
    Answer(question, IDYES);
    HWND fileDialog = WaitForFileDialog(run);
    ASSERT_NE(fileDialog, nullptr);
    EXPECT_EQ(KaltrenoxProcess::Text(GetDlgItem(fileDialog, cmb13)), L"Kunde-0002.kxm") << "the next name";
    KaltrenoxProcess::SaveScreenshot(fileDialog, L"recovered-run-save.png");
    PostMessageW(fileDialog, WM_COMMAND, IDOK, 0);
    const std::wstring saved = std::wstring(kFolder) + L"\\Kunde-0002.kxm";
    ASSERT_TRUE(KaltrenoxProcess::WaitUntil([&] { return run.DiagramWindows().size() == 1; }, 10000))
        << "the saved run opens as Record/ResumeMode says";
    EXPECT_EQ(FileImage(saved), kept) << "the file the save would have written";
    EXPECT_FALSE(Exists(recovery())) << "a saved run leaves no recovery file";
    KaltrenoxProcess::SaveScreenshot(run.frame, L"recovered-run-opened.png");
    run.PostCommand(ID_APP_EXIT);
    ASSERT_TRUE(run.WaitForExit(15000));
    EXPECT_EQ(run.Ini(L"Desktop", L"LastFile"), saved);
}

// "Nein" asks again before anything is deleted; a second thought goes back
// to the first question, a cancelled save as well.
TEST_F(RecoveredRun, DroppedOnlyAfterTheSecondQuestion) {
    const std::string data = KX_DATA_DIR;
    const std::wstring sample = std::wstring(data.begin(), data.end()) + L"\\v12.kxm";
    ASSERT_TRUE(CopyFileW(sample.c_str(), recovery().c_str(), FALSE)) << "sample measurement";
    run.SetIni(L"Desktop", L"LastFile", std::wstring(kFolder) + L"\\Kunde-0001.kxm");
    ASSERT_TRUE(run.Start());
    const std::wstring first = L"Eine nicht gespeicherte Messung";
    const std::wstring second = L"Die Messung wird endgültig gelöscht. Fortfahren?";
    Answer(WaitForBox(run, first), IDNO);
    HWND confirm = WaitForBox(run, second);
    ASSERT_NE(confirm, nullptr);
    KaltrenoxProcess::SaveScreenshot(confirm, L"recovered-run-drop.png");
    Answer(confirm, IDNO);
    Answer(WaitForBox(run, first), IDYES);
    HWND fileDialog = WaitForFileDialog(run);
    ASSERT_NE(fileDialog, nullptr);
    PostMessageW(fileDialog, WM_COMMAND, IDCANCEL, 0);
    Answer(WaitForBox(run, first), IDNO);
    EXPECT_TRUE(Exists(recovery())) << "still kept while the operator decides";
    Answer(WaitForBox(run, second), IDYES);
    EXPECT_TRUE(KaltrenoxProcess::WaitUntil([&] { return !Exists(recovery()); }, 5000)) << "deleted";
    EXPECT_TRUE(run.Settle());
    EXPECT_EQ(MessageBoxWith(run, first), nullptr);
    EXPECT_TRUE(run.DiagramWindows().empty());
    EXPECT_FALSE(Exists(std::wstring(kFolder) + L"\\Kunde-0002.kxm"));
    run.PostCommand(ID_APP_EXIT);
    ASSERT_TRUE(run.WaitForExit(15000));
}

}  // namespace
