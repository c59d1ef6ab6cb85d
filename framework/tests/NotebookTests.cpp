// The notebook on an options-like template exchanging the real Settings
// record: tabs, stacked pages, page switching, validation opening the page of
// the offending field, the fixed tables' limits, and the tab buttons' flags.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Ctrl.h"
#include "FlexButton.h"
#include "Notebook.h"
#include "Settings.h"
#include "StringTable.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

constexpr UINT kProbe = WM_APP;

struct NotebookRun {
    std::vector<std::function<void(HWND, CNotebook*)>> probes;  // one per posted kProbe
    bool deleted = false;
};

// Exchanges the options' fields of Settings, page by page.
class OptionsNotebook : public CNotebook {
public:
    explicit OptionsNotebook(NotebookRun* run) : run_(run) {}
    ~OptionsNotebook() override { run_->deleted = true; }

    size_t Exchange(ExchangeOp op, void* record) override {
        Settings& s = *static_cast<Settings*>(record);
        size_t n = 0;
        n += ExchangeInteger(op, this, &s.speedMin, IDC_SPEED_MIN);
        n += ExchangeInteger(op, this, &s.speedMax, IDC_SPEED_MAX);
        n += ExchangeInteger(op, this, &s.rpmMin, IDC_RPM_MIN);
        n += ExchangeInteger(op, this, &s.rpmMax, IDC_RPM_MAX);
        n += ExchangeInteger(op, this, &s.recordPeriod, IDC_PERIOD);
        n += ExchangeInteger(op, this, &s.recordStartVal, IDC_START_VAL);
        n += ExchangeChoice(op, this, &s.startModeChoices, &s.recordStartMode, IDC_START_MODE);
        n += ExchangeInteger(op, this, &s.bordersLeft, IDC_BORDER_LEFT);
        n += ExchangeInteger(op, this, &s.bordersTop, IDC_BORDER_TOP);
        n += ExchangeInteger(op, this, &s.bordersRight, IDC_BORDER_RIGHT);
        n += ExchangeInteger(op, this, &s.bordersBottom, IDC_BORDER_BOTTOM);
        n += ExchangeText(op, this, &s.pageHeadline, IDC_HEADLINE);
        n += ExchangeText(op, this, &s.fontName, IDC_FONT_NAME);
        n += ExchangeInteger(op, this, &s.fontHeight, IDC_FONT_HEIGHT);
        n += ExchangeInteger(op, this, &s.weatherTemperature, IDC_TEMPERATURE);
        n += ExchangeInteger(op, this, &s.weatherPressure, IDC_PRESSURE);
        n += ExchangeInteger(op, this, &s.weatherHumidity, IDC_HUMIDITY);
        n += ExchangeCheck(op, this, &s.weatherAuto, IDC_WEATHER_AUTO);
        n += ExchangeChoice(op, this, &s.powerModeChoices, &s.graphPowerMode, IDC_POWER_MODE);
        n += ExchangeChoice(op, this, &s.powerUnitChoices, &s.graphPowerUnit, IDC_POWER_UNIT);
        n += ExchangeChoice(op, this, &s.correctionChoices, &s.graphCorrection, IDC_CORRECTION);
        n += ExchangeReal(op, this, &s.graphLosstime, IDC_LOSSTIME);
        n += ExchangeChoice(op, this, &s.relationChoices, &s.recordRelation, IDC_RELATION);
        n += ExchangeInteger(op, this, &s.hardwareComPort, IDC_COM_PORT);
        n += ExchangeReal(op, this, &s.recordGear, IDC_GEAR);
        n += ExchangeCheck(op, this, &s.recordGearAuto, IDC_GEAR_AUTO);
        n += ExchangeChoice(op, this, &s.resumeModeChoices, &s.recordResumeMode, IDC_RESUME_MODE);
        n += ExchangeText(op, this, &s.recordComment, IDC_COMMENT);
        return n;
    }
    int Validate(void* record) override {
        const Settings& s = *static_cast<const Settings*>(record);
        if (uint16_t(s.speedMin) > 10000 || uint16_t(s.speedMin) >= uint16_t(s.speedMax)) return IDC_SPEED_MIN;
        if (s.weatherTemperature > 60) return IDC_TEMPERATURE;
        return 0;
    }
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kProbe && wParam < run_->probes.size()) {
            run_->probes[wParam](hwnd, this);
            return 0;
        }
        return CNotebook::WndProc(message, wParam, lParam);
    }
    void OnInitDialog() override {
        CNotebook::OnInitDialog();
        if (!run_->probes.empty()) PostMessageW(hwnd, kProbe, 0, 0);  // later probes post themselves
    }

private:
    NotebookRun* run_;
};

Settings OptionsRecord() {
    Settings s;
    completeLoadedSettings(s, portableText);
    s.recordComment = L"Golf GTI, 4. Gang\r\nÖlwechsel vor der Messung, Reifendruck 2,5 bar";
    return s;
}

const wchar_t* const kTabNames[] = {L"Kommentar", L"Anzeige", L"Erfassung", L"Wetter", L"Seite", L"Auswertung"};

HWND Tab(HWND dialog, int page) {
    return GetDlgItem(dialog, kNotebookTabFirstId + page);
}

bool Visible(HWND dialog, int id) {
    return (GetWindowLongW(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

std::vector<int> CheckedTabs(HWND dialog) {
    std::vector<int> checked;
    for (int page = 0; page < 6; ++page)
        if (SendMessageW(Tab(dialog, page), BM_GETCHECK, 0, 0) == BST_CHECKED) checked.push_back(page);
    return checked;
}

}  // namespace

TEST(Notebook, SixGroupBoxesBecomeSixTabsInIdOrderWithTheFirstPageShown) {
    Settings settings = OptionsRecord();
    NotebookRun run;
    run.probes.push_back([](HWND dialog, CNotebook* notebook) {
        int offsetX = DluX(dialog, 5), offsetY = DluY(dialog, 5);
        EXPECT_EQ(notebook->pageOffsetX, offsetX);
        EXPECT_EQ(notebook->pageOffsetY, offsetY);
        EXPECT_EQ(notebook->tabLeft, DluX(dialog, 205));
        EXPECT_EQ(notebook->tabWidth, DluX(dialog, 270) - offsetX - DluX(dialog, 205));
        for (int page = 0; page < 6; ++page) {
            HWND tab = Tab(dialog, page);
            ASSERT_NE(tab, nullptr) << "tab " << page;
            EXPECT_EQ(ClassNameOf(tab), L"Button");
            EXPECT_EQ(WindowTextOf(tab), kTabNames[page]) << "tab " << page;
            EXPECT_NE(dynamic_cast<CNBButton*>(ObjectFromWindow(tab)), nullptr);
            EXPECT_EQ((GetWindowLongW(tab, GWL_STYLE) & 0x30000) != 0, page == 0) << "group and tab stop";
            RECT rect = ChildRect(tab);
            EXPECT_EQ(rect.left, notebook->tabLeft - (page == 0 ? 2 : 0)) << "tab " << page;
            EXPECT_EQ(rect.top, offsetY + 28 * page + 4) << "tab " << page;
            EXPECT_EQ(rect.right - rect.left, notebook->tabWidth);
            EXPECT_EQ(rect.bottom - rect.top, 24);
        }
        EXPECT_EQ(GetDlgItem(dialog, 65286), nullptr) << "the last group box is gone";
        EXPECT_EQ(CheckedTabs(dialog), std::vector<int>{0});
        EXPECT_EQ(GetFocus(), Tab(dialog, 0));
        EXPECT_EQ(static_cast<CNBButton*>(ObjectFromWindow(Tab(dialog, 0)))->flags, uint32_t(kFlexEnabled | kFlexFocused | 1));

        HWND frame = GetDlgItem(dialog, kNotebookFrameId);
        ASSERT_NE(frame, nullptr);
        EXPECT_NE(dynamic_cast<CStatic*>(ObjectFromWindow(frame)), nullptr);
        RECT frameRect = ChildRect(frame);
        EXPECT_EQ(frameRect.left, offsetX);
        EXPECT_EQ(frameRect.top, offsetY);
        EXPECT_EQ(frameRect.right, offsetX + DluX(dialog, 205) - DluX(dialog, 5));

        RECT client{};
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, DluX(dialog, 270)) << "shrunk to the page area";
        EXPECT_EQ(client.bottom, DluY(dialog, 180));

        for (int id : {IDC_PERIOD, IDC_START_MODE, IDC_COMMENT}) EXPECT_TRUE(Visible(dialog, id)) << id;
        for (int id : {IDC_SPEED_MIN, IDC_RELATION, IDC_GEAR_AUTO, IDC_TEMPERATURE, IDC_HEADLINE, IDC_LOSSTIME})
            EXPECT_FALSE(Visible(dialog, id)) << id;

        // every page now lies on the first box's place
        struct Stacked {
            int id, x, y, boxX, boxY;
        };
        const Stacked stacked[] = {{IDC_SPEED_MIN, 290, 20, 215, 5},
                                   {IDC_TEMPERATURE, 85, 215, 5, 200},
                                   {IDC_LOSSTIME, 505, 251, 425, 200},
                                   {IDC_PERIOD, 70, 20, 5, 5}};
        for (const Stacked& c : stacked) {
            RECT rect = ChildRect(GetDlgItem(dialog, c.id));
            EXPECT_EQ(rect.left, offsetX + DluX(dialog, c.x) - DluX(dialog, c.boxX)) << "control " << c.id;
            EXPECT_EQ(rect.top, offsetY + DluY(dialog, c.y) - DluY(dialog, c.boxY)) << "control " << c.id;
        }
        RECT ok = ChildRect(GetDlgItem(dialog, IDOK));
        EXPECT_EQ(ok.left, DluX(dialog, 150)) << "OK lies on no page and stays";
        EXPECT_EQ(ok.top, DluY(dialog, 160));
        EXPECT_TRUE(Visible(dialog, IDOK));

        EXPECT_EQ(notebook->ForEachPage(nullptr, nullptr), 6);
        const int controlsPerPage[] = {8, 8, 8, 8, 15, 9};
        for (int page = 0; page < 6; ++page)
            EXPECT_EQ(notebook->ForEachPageControl(page, nullptr), controlsPerPage[page]) << "page " << page;

        EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_SPEED_MAX)), L"250") << "data loaded before stacking";
        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_CORRECTION, CB_GETCOUNT, 0, 0), 3);
        EXPECT_TRUE(SaveScreenshot(dialog, L"notebook.png"));
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(DoModal(new OptionsNotebook(&run), &settings, L"NOTEBOOK", nullptr), IDCANCEL);
    EXPECT_TRUE(run.deleted);
}

TEST(Notebook, ClickingATabShowsItsPageAndTheCheckedTabSitsTwoPixelsLeft) {
    Settings settings = OptionsRecord();
    NotebookRun run;
    run.probes.push_back([](HWND dialog, CNotebook* notebook) {
        SendMessageW(Tab(dialog, 2), BM_CLICK, 0, 0);
        EXPECT_EQ(CheckedTabs(dialog), std::vector<int>{2});
        for (int id : {IDC_RELATION, IDC_COM_PORT, IDC_GEAR, IDC_GEAR_AUTO, IDC_RESUME_MODE})
            EXPECT_TRUE(Visible(dialog, id)) << id;
        for (int id : {IDC_PERIOD, IDC_COMMENT, IDC_SPEED_MIN}) EXPECT_FALSE(Visible(dialog, id)) << id;
        for (int page = 0; page < 6; ++page)
            EXPECT_EQ(ChildRect(Tab(dialog, page)).left, notebook->tabLeft - (page == 2 ? 2 : 0)) << "tab " << page;
        auto* tab = static_cast<CNBButton*>(ObjectFromWindow(Tab(dialog, 2)));
        EXPECT_EQ(tab->flags & kFlexCheckMask, 1u);
        EXPECT_TRUE(tab->flags & kFlexEnabled);

        // on screen: the grey right edge of the checked tab lies 2 pixels
        // left of the unchecked tabs' edge (its column is r.right - 2)
        UpdateWindow(dialog);
        HDC dc = GetDC(dialog);
        const COLORREF grey = RGB(127, 127, 127);
        int edge = notebook->tabLeft + notebook->tabWidth - 2;
        RECT checked = ChildRect(Tab(dialog, 2)), unchecked = ChildRect(Tab(dialog, 1));
        int checkedMiddle = (checked.top + checked.bottom) / 2, uncheckedMiddle = (unchecked.top + unchecked.bottom) / 2;
        EXPECT_EQ(GetPixel(dc, edge - 2, checkedMiddle), grey);
        EXPECT_NE(GetPixel(dc, edge, checkedMiddle), grey);
        EXPECT_EQ(GetPixel(dc, edge, uncheckedMiddle), grey);
        EXPECT_NE(GetPixel(dc, edge - 2, uncheckedMiddle), grey);
        ReleaseDC(dialog, dc);
        EXPECT_TRUE(SaveScreenshot(dialog, L"notebook-erfassung.png"));

        notebook->FocusControl(kNotebookTabFirstId + 4);  // a tab id selects its page
        EXPECT_EQ(CheckedTabs(dialog), std::vector<int>{4});
        EXPECT_EQ(GetFocus(), Tab(dialog, 4));
        EXPECT_TRUE(Visible(dialog, IDC_HEADLINE));

        notebook->FocusControl(IDOK);  // on no page: the pages stay as they are
        EXPECT_EQ(CheckedTabs(dialog), std::vector<int>{4});
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK));
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(DoModal(new OptionsNotebook(&run), &settings, L"NOTEBOOK", nullptr), IDCANCEL);
}

TEST(Notebook, AFailingFieldOnPageFourOpensPageFourAndFocusesIt) {
    Settings settings = OptionsRecord();
    NotebookRun run;
    run.probes.push_back([](HWND dialog, CNotebook*) {
        SetDlgItemTextW(dialog, IDC_TEMPERATURE, L"99");
        SetDlgItemTextW(dialog, IDC_SPEED_MAX, L"300");
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        PostMessageW(dialog, kProbe, 1, 0);
    });
    run.probes.push_back([&settings](HWND dialog, CNotebook*) {
        EXPECT_EQ(CheckedTabs(dialog), std::vector<int>{3});
        EXPECT_TRUE(Visible(dialog, IDC_TEMPERATURE));
        EXPECT_FALSE(Visible(dialog, IDC_PERIOD));
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_TEMPERATURE));
        EXPECT_EQ(settings.weatherTemperature, 25);
        EXPECT_EQ(settings.speedMax, 250) << "nothing is stored while a field is invalid";
        // corrected, OK stores everything and closes
        SetDlgItemTextW(dialog, IDC_TEMPERATURE, L"30");
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(DoModal(new OptionsNotebook(&run), &settings, L"NOTEBOOK", nullptr), IDOK);
    EXPECT_EQ(settings.weatherTemperature, 30);
    EXPECT_EQ(settings.speedMax, 300);
    EXPECT_EQ(settings.correctionChoices, L"unkorrigiert|DIN 70020|ISO 1585");
    EXPECT_EQ(settings.recordComment, L"Golf GTI, 4. Gang\r\nÖlwechsel vor der Messung, Reifendruck 2,5 bar");
}

TEST(Notebook, TheFixedTablesAreNeverWrittenPast) {
    NotebookRun run;
    CNotebook* notebook =
        static_cast<CNotebook*>(CreateModeless(kModelessDialog, new OptionsNotebook(&run), L"NBLIMITS", nullptr));
    ASSERT_NE(notebook, nullptr);
    HWND dialog = notebook->hwnd;

    EXPECT_EQ(notebook->ForEachPage(nullptr, nullptr), 16) << "a 17th page is ignored";
    for (int page = 0; page < 16; ++page)
        EXPECT_NE(dynamic_cast<CNBButton*>(ObjectFromWindow(Tab(dialog, page))), nullptr) << "tab " << page;
    EXPECT_EQ(GetDlgItem(dialog, 65296), nullptr);
    EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, 65297)), L"P17") << "the 17th box stays a group box";

    EXPECT_EQ(notebook->ForEachPageControl(0, nullptr), 16);
    std::vector<HWND> onPages;
    notebook->ForEachPage(nullptr, [&onPages](HWND control) {
        onPages.push_back(control);
        return 1;
    });
    EXPECT_EQ(std::count(onPages.begin(), onPages.end(), GetDlgItem(dialog, 917)), 0) << "a 17th control is ignored";
    EXPECT_EQ(std::count(onPages.begin(), onPages.end(), GetDlgItem(dialog, 916)), 1);
    EXPECT_EQ(std::count(onPages.begin(), onPages.end(), GetDlgItem(dialog, 999)), 0) << "half inside: no page";
    RECT half = ChildRect(GetDlgItem(dialog, 999));
    EXPECT_EQ(half.left, DluX(dialog, 100)) << "stays where the template put it";
    EXPECT_EQ(half.top, DluY(dialog, 130));
    EXPECT_TRUE(Visible(dialog, 999));

    std::vector<int> pagesSeen;
    EXPECT_EQ(notebook->ForEachPage(
                  [&](HWND) {
                      pagesSeen.push_back(notebook->pageIndex);
                      return notebook->pageIndex == 2 ? 0x10000 : 1;  // low 16 bits 0 stop
                  },
                  nullptr),
              2);
    EXPECT_EQ(pagesSeen, (std::vector<int>{0, 1, 2}));
    int seen = 0;
    EXPECT_EQ(notebook->ForEachPageControl(0, [&seen](HWND) { return ++seen < 6 ? 1 : 0; }), 5);
    EXPECT_EQ(notebook->ForEachPageControl(16, nullptr), 0);
    EXPECT_EQ(notebook->ForEachPageControl(-1, nullptr), 0);
    DestroyWindow(dialog);
    EXPECT_TRUE(run.deleted);
}

namespace {

class CountingFlexButton : public CFlexButton {
public:
    int Paint(CDC* dc) override {
        if (!dc) return 1;
        ++paints;
        return 1;
    }
    int paints = 0;
};

}  // namespace

TEST(FlexButton, FlagsFollowTheStateAndEveryChangeRepaintsAtOnce) {
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    auto* button = static_cast<CountingFlexButton*>(
        CreateBoundWindow(new CountingFlexButton, L"Button", L"auto", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX,
                          reinterpret_cast<HMENU>(INT_PTR(5)), parent, 10, 10, 100, 24));
    ASSERT_NE(button, nullptr);
    HWND window = button->hwnd;
    UpdateWindow(window);
    struct Step {
        const char* what;
        UINT message;
        WPARAM wParam;
        uint32_t flags;
        int repaints;
    };
    const Step steps[] = {
        {"enable", WM_ENABLE, 1, kFlexEnabled, 1},
        {"enable again", WM_ENABLE, 1, kFlexEnabled, 0},
        {"check", BM_SETCHECK, BST_CHECKED, kFlexEnabled | 1, 1},
        {"check again", BM_SETCHECK, BST_CHECKED, kFlexEnabled | 1, 0},
        {"focus", WM_SETFOCUS, 0, kFlexEnabled | kFlexFocused | 1, 1},
        {"push", BM_SETSTATE, 1, kFlexEnabled | kFlexFocused | kFlexPushed | 1, 1},
        {"release", BM_SETSTATE, 0, kFlexEnabled | kFlexFocused | 1, 1},
        {"lose focus", WM_KILLFOCUS, 0, kFlexEnabled | 1, 1},
        {"uncheck", BM_SETCHECK, BST_UNCHECKED, kFlexEnabled, 1},
        {"disable", WM_ENABLE, 0, 0, 1},
    };
    for (const Step& step : steps) {
        int before = button->paints;
        SendMessageW(window, step.message, step.wParam, 0);
        EXPECT_EQ(button->flags, step.flags) << step.what;
        EXPECT_EQ(button->paints - before, step.repaints) << step.what;
    }
    DestroyWindow(parent);
}
