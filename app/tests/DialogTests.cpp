// The hardware dialog, the About box, the measurement file dialog and the
// notice about old measurement files, each shown for real and answered from
// inside its own message loop.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "About.h"
#include "AppTestSupport.h"
#include "Hardware.h"
#include "KaltrenoxProcess.h"
#include "Measurement.h"
#include "MeasurementFile.h"
#include "MeasurementFileDialog.h"
#include "MyApp.h"
#include "Settings.h"
#include "Screenshot.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

std::wstring Widen(const char* text) {
    return std::wstring(text, text + strlen(text));
}

std::wstring ItemText(HWND dialog, int id) {
    return WindowTextOf(GetDlgItem(dialog, id));
}

void SetItemText(HWND dialog, int id, const std::wstring& text) {
    SetWindowTextW(GetDlgItem(dialog, id), text.c_str());
}

// The hardware dialog over the program's settings, as Ctrl+Alt+S opens it;
// `work` reads and edits it, then `button` ends it.
INT_PTR RunHardware(std::function<void(HWND)> work, int button) {
    WhenDialogAppears(L"Hardware", [work, button](HWND dialog) {
        work(dialog);
        PostMessageW(dialog, WM_COMMAND, button, 0);
    });
    return DoModal(new CHardware, &theSettings(), L"HARDWARE", nullptr);
}

}  // namespace

TEST(HardwareDialog, ShowsTheSettingsOfTheTestStand) {
    const struct {
        int16_t pulseCount;
        double wheel, pcorr, inertia;
        const wchar_t *pulseText, *wheelText, *pcorrText, *inertiaText;
    } cases[] = {
        {15, 1.25, 1.0, 7.05, L"16", L"1.25", L"1.", L"7.05"},  // the defaults
        {0, 1.0 / 3.0, 0.95, 12.5, L"1", L"0.333333", L"0.95", L"12.5"},
        {7, 2.0, 1.0e-3, 1234567.0, L"8", L"2.", L"1.e-003", L"1.23457e+006"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "pulse count index " << c.pulseCount << ", wheel " << c.wheel);
        ResetSettings();
        Settings& s = theSettings();
        s.hardwarePulseCount = c.pulseCount;
        s.mechanicsWheel = c.wheel;
        s.hardwarePCorr = c.pcorr;
        s.mechanicsInertia = c.inertia;
        std::vector<std::wstring> shown;
        int pulseEntries = 0;
        RunHardware(
            [&](HWND d) {
                pulseEntries = static_cast<int>(SendDlgItemMessageW(d, IDC_PULSE_COUNT, CB_GETCOUNT, 0, 0));
                for (int id : {IDC_PULSE_COUNT, IDC_WHEEL, IDC_PCORR, IDC_MCORR, IDC_INERTIA, IDC_TIME_FORMAT})
                    shown.push_back(ItemText(d, id));
            },
            IDCANCEL);
        EXPECT_EQ(pulseEntries, 16);
        EXPECT_EQ(shown, (std::vector<std::wstring>{c.pulseText, c.wheelText, c.pcorrText, L"1.", c.inertiaText,
                                                   L"erstellt am %d.%m.%Y um %H:%M Uhr"}));
    }
}

TEST(HardwareDialog, OkStoresEveryFieldAndAbbruchNone) {
    const struct {
        const char* what;
        int pulseIndex;
        const wchar_t *wheel, *pcorr, *mcorr, *inertia, *format;
        int16_t storedPulse;
        double storedWheel, storedPcorr, storedMcorr, storedInertia;
    } cases[] = {
        {"choosing 1 stores index 0", 0, L"1.25", L"1.", L"1.", L"7.05", L"%d.%m.%Y", 0, 1.25, 1.0, 1.0, 7.05},
        {"empty circumference stores 0", 15, L"", L"1.1", L"0.9", L"8", L"", 15, 0.0, 1.1, 0.9, 8.0},
        {"text that is no number stores 0", 3, L"abc", L"x1", L"-0.5", L"7,05", L"am %d.", 3, 0.0, 0.0, -0.5, 7.0},
        {"leading blanks and exponent", 9, L"  1.5e0", L"2.e-001", L"1e+003", L"0.333333", L"x", 9, 1.5, 0.2, 1000.0,
         0.333333},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetSettings();
        INT_PTR result = RunHardware(
            [&](HWND d) {
                SendDlgItemMessageW(d, IDC_PULSE_COUNT, CB_SETCURSEL, c.pulseIndex, 0);
                SetItemText(d, IDC_WHEEL, c.wheel);
                SetItemText(d, IDC_PCORR, c.pcorr);
                SetItemText(d, IDC_MCORR, c.mcorr);
                SetItemText(d, IDC_INERTIA, c.inertia);
                SetItemText(d, IDC_TIME_FORMAT, c.format);
            },
            IDOK);
        EXPECT_EQ(result, IDOK);
        const Settings& s = theSettings();
        EXPECT_EQ(s.hardwarePulseCount, c.storedPulse);
        EXPECT_DOUBLE_EQ(s.mechanicsWheel, c.storedWheel);
        EXPECT_DOUBLE_EQ(s.hardwarePCorr, c.storedPcorr);
        EXPECT_DOUBLE_EQ(s.hardwareMCorr, c.storedMcorr);
        EXPECT_DOUBLE_EQ(s.mechanicsInertia, c.storedInertia);
        EXPECT_EQ(s.timeFormat, c.format);
    }

    // Abbruch keeps everything; the boot command fields belong to no setting
    ResetSettings();
    const auto before = SettingsSnapshot(theSettings());
    INT_PTR result = RunHardware(
        [](HWND d) {
            SendDlgItemMessageW(d, IDC_PULSE_COUNT, CB_SETCURSEL, 0, 0);
            SetItemText(d, IDC_WHEEL, L"");
            SetItemText(d, IDC_TIME_FORMAT, L"anders");
            SetItemText(d, IDC_BOOT_COMMAND, L"B");
        },
        IDCANCEL);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(SettingsSnapshot(theSettings()), before);
    result = RunHardware(
        [](HWND d) {
            SetItemText(d, IDC_BOOT_COMMAND, L"B");
            SetItemText(d, IDC_BOOT_FILE, L"C:\\boot.hex");
        },
        IDOK);
    EXPECT_EQ(SettingsSnapshot(theSettings()), before);
}

TEST(HardwareDialog, LongTimeFormatIsKeptWhole) {
    ResetSettings();
    const std::wstring format = L"Prüfprotokoll " + std::wstring(300, L'x') + L" %d.%m.%Y";
    RunHardware([&](HWND d) { SetItemText(d, IDC_TIME_FORMAT, format); }, IDOK);
    EXPECT_EQ(theSettings().timeFormat, format);
}

TEST(HardwareDialog, IsCentredOnTheScreenAndOnTop) {
    ResetSettings();
    RECT window{}, desktop{};
    LONG exStyle = 0;
    std::vector<std::wstring> texts;
    RunHardware(
        [&](HWND d) {
            GetWindowRect(d, &window);
            exStyle = GetWindowLongW(d, GWL_EXSTYLE);
            texts = DescendantTexts(d);
        },
        IDCANCEL);
    GetClientRect(GetDesktopWindow(), &desktop);
    EXPECT_NE(exStyle & WS_EX_TOPMOST, 0);
    EXPECT_NEAR((window.left + window.right) / 2, desktop.right / 2, 8);
    EXPECT_NEAR((window.top + window.bottom) / 2, desktop.bottom / 2, 16);
    for (const wchar_t* label : {L"Pulse pro Umdrehung:", L"Korrekturwerte", L"Leistung:", L"Drehmoment:", L"Zeitformat:",
                                 L"Wellenumfang:", L"m", L"Trägheitsmoment:", L"Nms²", L"Boot-Befehl", L"Code-Datei:",
                                 L"OK", L"Abbruch"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << "label missing";
}

TEST(AboutBox, ShowsIconLogoAndVersionsCentredOnTop) {
    CDlg* box = CreateModeless(kModelessDialog, new CAbout, L"KALTRNX", nullptr);
    ASSERT_NE(box, nullptr);
    HWND window = box->hwnd;
    std::vector<std::wstring> texts = DescendantTexts(window);
    for (const wchar_t* text : {L"Deutsche Version", L"Programm V2.05", L"Library V2.05"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end());
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_CAPTION, 0) << "no caption";
    EXPECT_NE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
    HWND icon = GetWindow(window, GW_CHILD);
    HWND logo = GetWindow(icon, GW_HWNDNEXT);
    EXPECT_NE(SendMessageW(icon, STM_GETICON, 0, 0), 0) << "MAINICON";
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(SendMessageW(logo, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP info{};
    ASSERT_TRUE(bitmap && GetObjectW(bitmap, sizeof info, &info)) << "KALTRNX logo";
    EXPECT_EQ(info.bmWidth, 164);
    EXPECT_EQ(info.bmHeight, 37);
    RECT rect{}, desktop{};
    GetWindowRect(window, &rect);
    GetClientRect(GetDesktopWindow(), &desktop);
    EXPECT_NEAR((rect.left + rect.right) / 2, desktop.right / 2, 4);
    EXPECT_NEAR((rect.top + rect.bottom) / 2, desktop.bottom / 2, 4);
    EXPECT_TRUE(SaveWindowImage(window, L"about.png"));
    SendMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
}

TEST(AboutBox, ClosesItselfAfterOneAndAHalfSeconds) {
    CDlg* box = CreateModeless(kModelessDialog, new CAbout, L"KALTRNX", nullptr);
    ASSERT_NE(box, nullptr);
    HWND window = box->hwnd;
    PumpFor(1000);
    EXPECT_TRUE(IsWindow(window)) << "still open after 1 s";
    DWORD start = GetTickCount();
    while (IsWindow(window) && GetTickCount() - start < 10000) PumpFor(20);
    EXPECT_FALSE(IsWindow(window)) << "closed by its timer without any input";
}

TEST(AboutBox, AKeyOrALeftClickClosesItAndSeveralCanBeOpen) {
    const struct {
        UINT message;
        WPARAM wParam;
        const char* what;
    } closers[] = {{WM_KEYDOWN, 'X', "key"}, {WM_KEYDOWN, VK_ESCAPE, "Esc"}, {WM_LBUTTONDOWN, MK_LBUTTON, "left click"}};
    std::vector<HWND> boxes;
    for (size_t i = 0; i < 3; ++i) boxes.push_back(CreateModeless(kModelessDialog, new CAbout, L"KALTRNX", nullptr)->hwnd);
    for (size_t i = 0; i < 3; ++i) {
        for (size_t j = i; j < 3; ++j) EXPECT_TRUE(IsWindow(boxes[j])) << "box " << j << " open";
        PostMessageW(boxes[i], closers[i].message, closers[i].wParam, 0);
        PumpMessages();
        EXPECT_FALSE(IsWindow(boxes[i])) << closers[i].what;
    }
}

TEST(MeasurementFileDialog, ProposesFolderAndNameFromTheLastFile) {
    std::wstring folder = KaltrenoxProcess::ProgramFolder() + L"\\..\\app-runs";
    CreateDirectoryW(folder.c_str(), nullptr);
    folder += L"\\Pruef";
    CreateDirectoryW(folder.c_str(), nullptr);
    wchar_t full[MAX_PATH] = {};
    GetFullPathNameW(folder.c_str(), MAX_PATH, full, nullptr);
    folder = full;

    const struct {
        std::wstring lastFile;
        int flags;
        std::wstring folder, name;  // what the dialog shows
    } cases[] = {
        {L"*.kxm", kChooseOpen, L"", L"*.kxm"},  // no folder given: the dialog picks its own
        {folder + L"\\run3.kxm", kChooseSave | kChooseAdvance, folder, L"run4.kxm"},
        {folder + L"\\run9.kxm", kChooseSave | kChooseAdvance, folder, L"run9.kxm"},
        {folder + L"\\run7.kxm", kChooseOpen, folder, L"run7.kxm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "last file " << std::string(c.lastFile.begin(), c.lastFile.end()));
        ResetSettings();
        theSettings().desktopLastFile = c.lastFile;
        wchar_t shownFolder[MAX_PATH] = {}, shownName[MAX_PATH] = {};
        WhenDialogAppears(L"", [&](HWND d) {
            SendMessageW(d, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(shownFolder));
            SendMessageW(d, CDM_GETSPEC, MAX_PATH, reinterpret_cast<LPARAM>(shownName));
            PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_EQ(chooseMeasurementFile(nullptr, c.flags), 0);
        if (!c.folder.empty()) {
            EXPECT_EQ(std::wstring(shownFolder), c.folder);
        }
        EXPECT_EQ(std::wstring(shownName), c.name);
        EXPECT_EQ(theSettings().desktopLastFile, c.lastFile) << "cancelling changes nothing";
    }

    // confirming makes the choice the last file
    ResetSettings();
    theSettings().desktopLastFile = folder + L"\\run3.kxm";
    DeleteFileW((folder + L"\\run4.kxm").c_str());
    WhenDialogAppears(L"", [](HWND d) { PostMessageW(d, WM_COMMAND, IDOK, 0); });
    EXPECT_EQ(chooseMeasurementFile(nullptr, kChooseSave | kChooseAdvance), 1);
    EXPECT_EQ(theSettings().desktopLastFile, folder + L"\\run4.kxm");
}

TEST(MeasurementNotice, AnOldFileIsAnnouncedInAnInformationBoxOfItsOwn) {
    ResetSettings();
    setMeasurementNoticeHandler(&ShowMeasurementNotice);
    std::vector<std::wstring> texts;
    HWND owner = reinterpret_cast<HWND>(1);
    LRESULT icon = 0;
    WhenDialogAppears(L"Update-Info", [&](HWND box) {
        texts = DescendantTexts(box);
        owner = GetWindow(box, GW_OWNER);
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) icon = SendMessageW(child, STM_GETICON, 0, 0);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    Measurement m;
    int version = 0;
    EXPECT_TRUE(readMeasurement(Widen(KX_DATA_DIR) + L"/v10.kxm", m, defaultReadContext(), &version));
    EXPECT_EQ(version, 10);
    EXPECT_FALSE(DialogActionPending()) << "the box appeared";
    EXPECT_NE(std::find(texts.begin(), texts.end(), L"Alte Meßwertdatei. Wellenumfang wird neu gesetzt."), texts.end());
    EXPECT_EQ(owner, nullptr);
    EXPECT_EQ(icon, reinterpret_cast<LRESULT>(LoadIconW(nullptr, IDI_INFORMATION)));

    // newer files say nothing
    EXPECT_TRUE(readMeasurement(Widen(KX_DATA_DIR) + L"/v12.kxm", m, defaultReadContext(), &version));
    EXPECT_EQ(version, 12);
    setMeasurementNoticeHandler(nullptr);
}
