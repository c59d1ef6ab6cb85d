// Dialogs from templates: the five field exchangers, OK with validation on a
// scratch record, cancel, commands that keep a dialog open, icon substitution.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "CommonDialogs.h"
#include "Dlg.h"
#include "FrameworkState.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

constexpr int kApplyButton = 300;
constexpr UINT kProbe = WM_APP;

struct DemoRecord {
    int16_t speedMin = 0;
    double lossTime = 0.0;
    std::wstring correctionChoices;
    int16_t correction = 0;
    std::wstring headline;
    int16_t weatherAuto = 0;
};

// What a dialog run left behind (the dialog object itself is gone).
struct DemoRun {
    std::vector<int> commands;
    std::vector<const void*> validatedRecords;
    std::vector<int16_t> validatedSpeeds;
    bool deleted = false;
    std::function<int(const DemoRecord&)> validate;
    std::function<void(HWND)> onInit;
    std::vector<std::function<void(HWND)>> probes;  // one per posted kProbe
};

class DemoDlg : public CDlg {
public:
    explicit DemoDlg(DemoRun* run) : run_(run) {}
    ~DemoDlg() override { run_->deleted = true; }

    size_t Exchange(ExchangeOp op, void* record) override {
        DemoRecord* r = static_cast<DemoRecord*>(record);
        size_t size = 0;
        size += ExchangeInteger(op, this, &r->speedMin, IDC_SPEED_MIN);
        size += ExchangeReal(op, this, &r->lossTime, IDC_LOSSTIME);
        size += ExchangeChoice(op, this, &r->correctionChoices, &r->correction, IDC_CORRECTION);
        size += ExchangeText(op, this, &r->headline, IDC_HEADLINE);
        size += ExchangeCheck(op, this, &r->weatherAuto, IDC_WEATHER_AUTO);
        return size;
    }
    int Validate(void* record) override {
        const DemoRecord* r = static_cast<const DemoRecord*>(record);
        run_->validatedRecords.push_back(record);
        run_->validatedSpeeds.push_back(r->speedMin);
        return run_->validate ? run_->validate(*r) : 0;
    }
    void OnInitDialog() override {
        CDlg::OnInitDialog();
        if (run_->onInit) run_->onInit(hwnd);
    }
    int OnCommand(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (HIWORD(wParam) == BN_CLICKED) run_->commands.push_back(LOWORD(wParam));  // no edit notifications
        return CDlg::OnCommand(message, wParam, lParam);
    }
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kProbe && wParam < run_->probes.size()) {
            run_->probes[wParam](hwnd);
            return 0;
        }
        return CDlg::WndProc(message, wParam, lParam);
    }

private:
    DemoRun* run_;
};

std::wstring ItemText(HWND dialog, int id) {
    return WindowTextOf(GetDlgItem(dialog, id));
}

DemoRecord SampleRecord() {
    DemoRecord record;
    record.speedMin = 300;
    record.lossTime = 0.05;
    record.correctionChoices = L"unkorrigiert|DIN 70020|ISO 1585";
    record.correction = 2;
    record.headline = L"Kaltrenox Leistungsermittlung, Prüfstand Süd";
    record.weatherAuto = 1;
    return record;
}

// A modeless showing of the demo dialog for calling the exchangers directly.
struct ExchangeBench {
    ExchangeBench() {
        dialog = static_cast<DemoDlg*>(CreateModeless(kModelessDialog, new DemoDlg(&run), L"DEMO", nullptr));
        window = dialog ? dialog->hwnd : nullptr;
    }
    ~ExchangeBench() {
        if (IsWindow(window)) DestroyWindow(window);
    }
    DemoRun run;
    DemoDlg* dialog = nullptr;
    HWND window = nullptr;
};

}  // namespace

TEST(DataExchange, IntegerFieldsShowUnsignedAndStoreSignedSixteenBits) {
    ExchangeBench bench;
    ASSERT_NE(bench.dialog, nullptr);
    struct Shown {
        int16_t value;
        const wchar_t* text;
    };
    const Shown shown[] = {{300, L"300"}, {0, L"0"}, {32767, L"32767"}, {-5, L"65531"}, {-32768, L"32768"}};
    for (const Shown& c : shown) {
        int16_t field = c.value;
        ExchangeInteger(kExchangeLoad, bench.dialog, &field, IDC_SPEED_MIN);
        EXPECT_EQ(ItemText(bench.window, IDC_SPEED_MIN), c.text) << "value " << c.value;
        field = 1234;
        ExchangeInteger(kExchangeStore, bench.dialog, &field, IDC_SPEED_MIN);
        EXPECT_EQ(field, c.value) << "shown " << std::string(c.text, c.text + wcslen(c.text));
    }
    struct Typed {
        const wchar_t* text;
        int16_t stored;
    };
    const Typed typed[] = {{L"300", 300}, {L"-5", -5}, {L"65531", -5}, {L"70000", 4464}, {L"abc", 0}, {L"", 0}};
    for (const Typed& c : typed) {
        SetDlgItemTextW(bench.window, IDC_SPEED_MIN, c.text);
        int16_t field = 1234;
        ExchangeInteger(kExchangeStore, bench.dialog, &field, IDC_SPEED_MIN);
        EXPECT_EQ(field, c.stored) << "typed \"" << std::string(c.text, c.text + wcslen(c.text)) << "\"";
    }
}

TEST(DataExchange, RealFieldsUseTheProgramsDoubleFormat) {
    ExchangeBench bench;
    struct Shown {
        double value;
        const wchar_t* text;
    };
    const Shown shown[] = {{1.0, L"1."}, {0.05, L"5.e-002"}, {1.25, L"1.25"}, {1.0 / 3.0, L"0.333333"}, {7.05, L"7.05"}};
    for (const Shown& c : shown) {
        double field = c.value;
        ExchangeReal(kExchangeLoad, bench.dialog, &field, IDC_LOSSTIME);
        EXPECT_EQ(ItemText(bench.window, IDC_LOSSTIME), c.text) << "value " << c.value;
    }
    struct Typed {
        const wchar_t* text;
        double stored;
    };
    const Typed typed[] = {
        {L"5.e-002", 0.05}, {L"1.5e3xyz", 1500.0}, {L"abc", 0.0}, {L"", 0.0}, {L"3,5", 3.0},  // no decimal comma
        // only the first 31 characters are read
        {L"1234567890123456789012345678901234567890", 1234567890123456789012345678901.0},
    };
    for (const Typed& c : typed) {
        SetDlgItemTextW(bench.window, IDC_LOSSTIME, c.text);
        double field = -1.0;
        ExchangeReal(kExchangeStore, bench.dialog, &field, IDC_LOSSTIME);
        EXPECT_DOUBLE_EQ(field, c.stored) << "typed \"" << std::string(c.text, c.text + wcslen(c.text)) << "\"";
    }
}

TEST(DataExchange, ChoiceFillsTheListSelectsAndReadsTheSelection) {
    ExchangeBench bench;
    HWND combo = GetDlgItem(bench.window, IDC_CORRECTION);
    std::wstring items = L"unkorrigiert|DIN 70020|ISO 1585";
    int16_t index = 2;
    ExchangeChoice(kExchangeLoad, bench.dialog, &items, &index, IDC_CORRECTION);
    ExchangeChoice(kExchangeLoad, bench.dialog, &items, &index, IDC_CORRECTION);  // loading again adds nothing
    ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
    const wchar_t* expected[] = {L"unkorrigiert", L"DIN 70020", L"ISO 1585"};
    for (int i = 0; i < 3; ++i) {
        wchar_t text[64] = {};
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, expected[i]) << "item " << i;
    }
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);

    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    ExchangeChoice(kExchangeStore, bench.dialog, &items, &index, IDC_CORRECTION);
    EXPECT_EQ(index, 1);
    ExchangeChoice(kExchangeClear, bench.dialog, &items, &index, IDC_CORRECTION);
    EXPECT_EQ(index, 1) << "clearing leaves a choice alone";
    SendMessageW(combo, CB_SETCURSEL, WPARAM(-1), 0);
    ExchangeChoice(kExchangeStore, bench.dialog, &items, &index, IDC_CORRECTION);
    EXPECT_EQ(index, 1) << "no selection keeps the stored index";

    uint16_t unsignedIndex = 0;
    ExchangeChoice(kExchangeLoad, bench.dialog, &items, &unsignedIndex, IDC_CORRECTION);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
}

TEST(DataExchange, TextGrowsToTheControlsLengthAndClearFreesIt) {
    ExchangeBench bench;
    std::wstring field = L"Prüfstand Süd";
    ExchangeText(kExchangeLoad, bench.dialog, &field, IDC_HEADLINE);
    EXPECT_EQ(ItemText(bench.window, IDC_HEADLINE), L"Prüfstand Süd");

    std::wstring longText(1000, L'ä');
    longText[999] = L'Z';
    SetDlgItemTextW(bench.window, IDC_HEADLINE, longText.c_str());
    ExchangeText(kExchangeStore, bench.dialog, &field, IDC_HEADLINE);
    EXPECT_EQ(field.size(), 1000u);
    EXPECT_EQ(field, longText);

    ExchangeText(kExchangeClear, bench.dialog, &field, IDC_HEADLINE);
    EXPECT_TRUE(field.empty());
    EXPECT_LT(field.capacity(), 100u) << "the long text's storage is freed";
}

TEST(DataExchange, CheckStateRoundTrips) {
    ExchangeBench bench;
    for (int16_t state : {int16_t(1), int16_t(0), int16_t(1)}) {
        int16_t field = state;
        ExchangeCheck(kExchangeLoad, bench.dialog, &field, IDC_WEATHER_AUTO);
        EXPECT_EQ(IsDlgButtonChecked(bench.window, IDC_WEATHER_AUTO), UINT(state));
        field = 7;
        ExchangeCheck(kExchangeStore, bench.dialog, &field, IDC_WEATHER_AUTO);
        EXPECT_EQ(field, state);
    }
    int16_t field = 1;
    ExchangeCheck(kExchangeClear, bench.dialog, &field, IDC_WEATHER_AUTO);
    EXPECT_EQ(field, 0);
}

TEST(DataExchange, SizeQueryOnlyCountsAndClearResetsTheRecord) {
    ExchangeBench bench;
    DemoRecord record = SampleRecord();
    SetDlgItemTextW(bench.window, IDC_SPEED_MIN, L"777");
    size_t expected = sizeof(int16_t) + sizeof(double) + sizeof(std::wstring*) + sizeof(int16_t) +
                      sizeof(std::wstring) + sizeof(int16_t);
    EXPECT_EQ(bench.dialog->Exchange(kExchangeSize, &record), expected);
    EXPECT_EQ(ItemText(bench.window, IDC_SPEED_MIN), L"777");
    EXPECT_EQ(record.speedMin, 300);

    bench.dialog->Exchange(kExchangeClear, &record);
    EXPECT_EQ(record.speedMin, 0);
    EXPECT_EQ(record.lossTime, 0.0);
    EXPECT_EQ(record.correction, 2);
    EXPECT_TRUE(record.headline.empty());
    EXPECT_EQ(record.weatherAuto, 0);
}

TEST(ModalDialog, OkWithAValidRecordStoresItAndCloses) {
    DemoRecord record = SampleRecord();
    DemoRun run;
    run.onInit = [](HWND dialog) {
        EXPECT_EQ(ItemText(dialog, IDC_SPEED_MIN), L"300") << "loaded on opening";
        EXPECT_EQ(ItemText(dialog, IDC_LOSSTIME), L"5.e-002");
        SetDlgItemTextW(dialog, IDC_SPEED_MIN, L"42");
        SetDlgItemTextW(dialog, IDC_HEADLINE, L"Neue Überschrift");
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    };
    EXPECT_EQ(DoModal(new DemoDlg(&run), &record, L"DEMO", nullptr), IDOK);
    EXPECT_TRUE(run.deleted) << "the dialog object is gone when DoModal returns";
    EXPECT_EQ(record.speedMin, 42);
    EXPECT_EQ(record.headline, L"Neue Überschrift");
    EXPECT_EQ(record.correction, 2);
    EXPECT_EQ(record.correctionChoices, L"unkorrigiert|DIN 70020|ISO 1585") << "the item list is not stored";
    ASSERT_EQ(run.validatedRecords.size(), 1u);
    EXPECT_NE(run.validatedRecords[0], static_cast<const void*>(&record)) << "validation runs on a scratch record";
    EXPECT_EQ(run.validatedSpeeds[0], 42);
}

TEST(ModalDialog, FailingValidationFocusesTheControlAndKeepsTheRecord) {
    DemoRecord record = SampleRecord();
    DemoRun run;
    run.validate = [](const DemoRecord& r) { return r.speedMin > 1000 ? IDC_SPEED_MIN : 0; };
    bool stillOpen = false;
    HWND focused = nullptr, expectedFocus = nullptr;
    int16_t speedDuringProbe = 0;
    run.onInit = [](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_SPEED_MIN, L"5000");
        SetFocus(GetDlgItem(dialog, IDC_HEADLINE));
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        PostMessageW(dialog, kProbe, 0, 0);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    };
    run.probes.push_back([&](HWND dialog) {
        stillOpen = IsWindowVisible(dialog) != 0;
        focused = GetFocus();
        expectedFocus = GetDlgItem(dialog, IDC_SPEED_MIN);
        speedDuringProbe = record.speedMin;
    });
    EXPECT_EQ(DoModal(new DemoDlg(&run), &record, L"DEMO", nullptr), IDCANCEL);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(focused, expectedFocus);
    EXPECT_EQ(speedDuringProbe, 300);
    EXPECT_EQ(record.speedMin, 300) << "cancel leaves the record alone";
    EXPECT_EQ(record.headline, L"Kaltrenox Leistungsermittlung, Prüfstand Süd");
    EXPECT_EQ(run.validatedSpeeds, (std::vector<int16_t>{5000}));
    EXPECT_EQ(run.commands, (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_TRUE(run.deleted);
}

TEST(ModalDialog, CommandsFrom256OnKeepItOpen) {
    DemoRecord record = SampleRecord();
    DemoRun run;
    bool openAfterApply = false;
    run.onInit = [](HWND dialog) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kApplyButton, BN_CLICKED), 0);
        PostMessageW(dialog, kProbe, 0, 0);
    };
    run.probes.push_back([&](HWND dialog) {
        SendMessageW(GetDlgItem(dialog, kApplyButton), BM_CLICK, 0, 0);
        openAfterApply = IsWindow(dialog) && IsWindowVisible(dialog);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(DoModal(new DemoDlg(&run), &record, L"DEMO", nullptr), IDCANCEL);
    EXPECT_TRUE(openAfterApply);
    EXPECT_EQ(run.commands, (std::vector<int>{kApplyButton, kApplyButton, IDCANCEL}));
    EXPECT_TRUE(run.validatedRecords.empty());
}

TEST(ModalDialog, WithoutRecordOkSimplyCloses) {
    DemoRun run;
    run.onInit = [](HWND dialog) {
        EXPECT_EQ(ItemText(dialog, IDC_SPEED_MIN), L"") << "nothing to load";
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    };
    EXPECT_EQ(DoModal(new DemoDlg(&run), nullptr, L"DEMO", nullptr), IDOK);
    EXPECT_TRUE(run.validatedRecords.empty());
    EXPECT_TRUE(run.deleted);
}

TEST(ModalDialog, AMissingTemplateAnswersMinusOneAndFreesTheObject) {
    DemoRun run;
    EXPECT_EQ(DoModal(new DemoDlg(&run), nullptr, L"GIBTESNICHT", nullptr), -1);
    EXPECT_TRUE(run.deleted);
    EXPECT_EQ(CreateModeless(kModelessDialog, new DemoDlg(&run), L"GIBTESNICHT", nullptr), nullptr);
}

TEST(IconSubstitution, AtTextsOfButtonsAndStaticsBecomeIcons) {
    CDlg* dialog = CreateModeless(kModelessDialog, new CDlg, L"ICONS", nullptr);
    ASSERT_NE(dialog, nullptr);
    HWND window = dialog->hwnd;
    // the test program has no icons of its own: point the framework at the
    // system's icons (user32 holds them under their numbers)
    FrameworkState& fw = theFramework();
    HINSTANCE own = fw.instance;
    fw.instance = GetModuleHandleW(L"user32.dll");
    SetDlgItemTextW(window, 1004, L"@#32516");
    struct Case {
        int id;
        int answer;
        UINT getImage;
    };
    const Case cases[] = {{1001, 1, BM_GETIMAGE}, {1002, 1, STM_GETIMAGE}, {1003, 0, BM_GETIMAGE}, {1004, 0, 0}};
    for (const Case& c : cases) {
        HWND control = GetDlgItem(window, c.id);
        EXPECT_EQ(dialog->PrepareControl(control), c.answer) << "control " << c.id;
        if (c.getImage) {
            LRESULT image = SendMessageW(control, c.getImage, IMAGE_ICON, 0);
            EXPECT_EQ(image != 0, c.answer == 1) << "control " << c.id;
        }
    }
    fw.instance = own;
    DestroyWindow(window);
}

namespace {

class TrackedPrintDlg : public CPrintDlg {
public:
    explicit TrackedPrintDlg(bool* deleted) : deleted_(deleted) {}
    ~TrackedPrintDlg() override { *deleted_ = true; }

private:
    bool* deleted_;
};

// Cancels the platform dialog that a modal call shows, from inside its loop;
// tries again on the next tick until the dialog is there.
void CALLBACK CancelActiveDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = GetActiveWindow();
    if (!dialog || ClassNameOf(dialog) != L"#32770") return;
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    KillTimer(nullptr, timer);
}

}  // namespace

TEST(PrintDialog, TheDefaultPrinterIsFetchedSilentlyAndKeptForTheProgram) {
    bool deleted = false;
    BOOL answer = RunPrintDlg(PD_RETURNDEFAULT, nullptr, new TrackedPrintDlg(&deleted));
    EXPECT_TRUE(deleted) << "the object is freed right after";
    // a fresh prefix has no printer; with one, its handles stay for the program
    EXPECT_EQ(answer != 0, PrinterDevNames() != nullptr);
    EXPECT_EQ(answer != 0, PrinterDevMode() != nullptr);

    // whatever a print dialog leaves in its record becomes the program's choice
    HGLOBAL names = PrinterDevNames(), mode = PrinterDevMode();
    HGLOBAL newNames = GlobalAlloc(GMEM_MOVEABLE, 64), newMode = GlobalAlloc(GMEM_MOVEABLE, 64);
    CPrintDlg* dialog = new CPrintDlg;
    EXPECT_EQ(dialog->record.hDevNames, names) << "starts from the program's choice";
    dialog->record.hDevNames = newNames;
    dialog->record.hDevMode = newMode;
    delete dialog;
    EXPECT_EQ(PrinterDevNames(), newNames);
    EXPECT_EQ(PrinterDevMode(), newMode);
    GlobalFree(names);
    GlobalFree(mode);
    GlobalFree(newNames);
    GlobalFree(newMode);
    theFramework().printerDevNames = nullptr;
    theFramework().printerDevMode = nullptr;
}

TEST(FileDialog, CancellingLeavesThePathBufferAlone) {
    wchar_t path[CFileDlg::kPathSize] = L"run3.kxm";
    CFileDlg dialog(path);
    dialog.record.lpstrFilter = L"Meßwerte [*.kxm]\0*.kxm\0";
    dialog.record.lpstrDefExt = L"kxm";
    dialog.record.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    EXPECT_EQ(dialog.record.nMaxFile, 512u);
    SetTimer(nullptr, 0, 100, &CancelActiveDialog);
    EXPECT_EQ(dialog.RunOpen(), 0);
    EXPECT_STREQ(path, L"run3.kxm");
}
