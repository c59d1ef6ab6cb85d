#pragma once
// CNotebook turns one dialog template into a paged dialog. The template lays
// its pages out side by side, each a group box (ids 65281, 65282, ... in page
// order) holding its controls; a frame static 65280 at the client origin gives
// the size of the visible page area. On opening, the notebook collects each
// box's controls, stacks all pages onto the first box's place, shrinks the
// dialog to the page area and replaces each box by a tab (CNBButton) in a
// column right of the page; checking a tab shows its page.
#include <functional>

#include "Dlg.h"
#include "FlexButton.h"

constexpr int kNotebookAreaId = 65280;
constexpr int kNotebookFirstBoxId = 65281;
constexpr int kNotebookLastBoxId = 65534;
constexpr int kNotebookTabFirstId = 65280;  // tab of page i: 65280 + i
constexpr int kNotebookTabLastId = 65295;
constexpr int kNotebookFrameId = 0xFFFF;
constexpr int kNotebookTabHeight = 24;
constexpr int kNotebookTabPitch = 28;

struct NotebookPage {
    static constexpr int kMaxControls = 16;
    HWND tab;                    // the group box until the tabs exist
    HWND controls[kMaxControls];  // in collection order, ending at the first null
};

class CNotebook : public CDlg, public TabPages {
public:
    static constexpr int kMaxPages = 16;

    // Callbacks answer with the low 16 bits 0 to stop the walk.
    using PageCallback = std::function<int(HWND tab)>;
    using ControlCallback = std::function<int(HWND control)>;

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // A tab id selects its page; any other control first opens the page that holds it.
    void FocusControl(int controlId) override;

    // Visits the pages in order (setting pageIndex) and the controls of each;
    // answers the number of pages walked. Either callback may be empty.
    int ForEachPage(const PageCallback& pageCallback, const ControlCallback& controlCallback);
    // Visits one page's controls; answers the number walked.
    int ForEachPageControl(int page, const ControlCallback& callback);
    // Checks `tab` and unchecks every other tab (each then shows or hides its page).
    void SelectPage(HWND tab, bool focus);
    // Shows or hides the controls of one page.
    void ShowPage(int page, bool show) override;

    NotebookPage pages[kMaxPages] = {};
    int controlCount = 0;
    int pageIndex = 0;            // page being walked; after collection the page count
    HWND focusTarget = nullptr;
    HWND focusTab = nullptr;
    int pageOffsetX = 0;          // first page box within the page area
    int pageOffsetY = 0;
    int tabLeft = 0;
    int tabWidth = 0;

private:
    LRESULT OnInitNotebook(UINT message, WPARAM wParam, LPARAM lParam);
    void CollectPages();
    void StackPages();
    void ShrinkToPageArea(const RECT& area);
    void CreateTabs();
};
