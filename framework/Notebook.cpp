#include "Notebook.h"

#include "Ctrl.h"
#include "FlexButton.h"

namespace {

constexpr DWORD kFrameStaticStyle = 0x50000008;  // child, visible, grey frame
constexpr DWORD kTabStyle = 0x50000009;          // child, visible, automatic radio button
constexpr DWORD kFirstTabStyle = 0x30000;        // group, tab stop

// left and top inclusive, right and bottom exclusive
bool Inside(LONG x, LONG y, const RECT& box) {
    return x >= box.left && x < box.right && y >= box.top && y < box.bottom;
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

}  // namespace

LRESULT CNotebook::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return OnInitNotebook(message, wParam, lParam);
    return CDlg::WndProc(message, wParam, lParam);
}

LRESULT CNotebook::OnInitNotebook(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND areaControl = GetDlgItem(hwnd, kNotebookAreaId);
    HWND firstBox = GetDlgItem(hwnd, kNotebookFirstBoxId);
    if (!areaControl || !firstBox) return CDlg::WndProc(message, wParam, lParam);  // no pages

    RECT area = WindowRect(areaControl);
    DestroyWindow(areaControl);
    RECT box = WindowRect(firstBox);
    pageOffsetX = box.left - area.left;
    pageOffsetY = box.top - area.top;
    CreateBoundWindow(new CStatic, L"STATIC", L"", kFrameStaticStyle,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kNotebookFrameId)), hwnd, pageOffsetX,
                      pageOffsetY, box.right - box.left, box.bottom - box.top);

    LRESULT result = CDlg::WndProc(message, wParam, lParam);  // font, icons, data load

    tabLeft = box.right - area.left;
    tabWidth = area.right - pageOffsetX - box.right;
    CollectPages();
    StackPages();
    ShrinkToPageArea(area);
    CreateTabs();
    if (pages[0].tab) SelectPage(pages[0].tab, true);
    return result;
}

// A control belongs to a page when its whole window rectangle lies inside the
// page's box. Only the dialog's own children count (a combo box's edit field
// moves with its combo box). The tables hold 16 pages of 16 controls; further
// ones are left where the template put them.
void CNotebook::CollectPages() {
    pageIndex = 0;
    for (int id = kNotebookFirstBoxId; id <= kNotebookLastBoxId && pageIndex < kMaxPages; ++id) {
        HWND box = GetDlgItem(hwnd, id);
        if (!box) break;
        NotebookPage& page = pages[pageIndex];
        page = NotebookPage{};
        page.tab = box;
        controlCount = 0;
        RECT boxRect = WindowRect(box);
        ForEachChild(hwnd, [&](HWND child) {
            if (child == box || GetParent(child) != hwnd) return 0;
            if (controlCount >= NotebookPage::kMaxControls) return kChildStop;
            RECT rect = WindowRect(child);
            if (Inside(rect.left, rect.top, boxRect) && Inside(rect.right, rect.bottom, boxRect))
                page.controls[controlCount++] = child;
            return 0;
        });
        ++pageIndex;
    }
}

void CNotebook::StackPages() {
    for (int p = 0; p < pageIndex; ++p) {
        RECT box = WindowRect(pages[p].tab);
        ForEachPageControl(p, [&](HWND control) {
            RECT rect = WindowRect(control);
            SetWindowPos(control, nullptr, pageOffsetX + rect.left - box.left, pageOffsetY + rect.top - box.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            ShowWindow(control, SW_HIDE);
            return 1;
        });
    }
}

void CNotebook::ShrinkToPageArea(const RECT& area) {
    RECT window = WindowRect(hwnd);
    RECT client{};
    GetClientRect(hwnd, &client);
    int width = (area.right - area.left) + (window.right - window.left) - client.right;
    int height = (area.bottom - area.top) + (window.bottom - window.top) - client.bottom;
    POINT centre{(window.left + window.right) / 2, (window.top + window.bottom) / 2};
    if (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), &centre, 1);
    SetWindowPos(hwnd, nullptr, centre.x - width / 2, centre.y - height / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CNotebook::CreateTabs() {
    for (int p = 0; p < pageIndex; ++p) {
        HWND box = pages[p].tab;
        wchar_t text[31] = {};
        GetWindowTextW(box, text, 31);
        DestroyWindow(box);
        int top = pageOffsetY + kNotebookTabPitch * p + 4;
        DWORD style = kTabStyle | (p == 0 ? kFirstTabStyle : 0);
        CWnd* tab = CreateBoundWindow(new CNBButton(*this, p, tabLeft, top, tabWidth, kNotebookTabHeight), L"Button", text, style,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kNotebookTabFirstId + p)), hwnd,
                                      tabLeft, top, tabWidth, kNotebookTabHeight);
        pages[p].tab = tab ? tab->hwnd : nullptr;
        if (!pages[p].tab) continue;
        SendMessageW(pages[p].tab, BM_SETCHECK, BST_UNCHECKED, 0);
        if (dialogFont) SendMessageW(pages[p].tab, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), TRUE);
    }
}

int CNotebook::ForEachPage(const PageCallback& pageCallback, const ControlCallback& controlCallback) {
    int visited = 0;
    for (int index = 0; index < kMaxPages && pages[index].tab; ++index) {
        pageIndex = index;
        if (pageCallback && (pageCallback(pages[index].tab) & 0xFFFF) == 0) break;
        ForEachPageControl(index, controlCallback);
        ++visited;
    }
    return visited;
}

int CNotebook::ForEachPageControl(int page, const ControlCallback& callback) {
    if (page < 0 || page >= kMaxPages) return 0;
    int visited = 0;
    for (HWND control : pages[page].controls) {
        if (!control) break;
        if (callback && (callback(control) & 0xFFFF) == 0) break;
        ++visited;
    }
    return visited;
}

void CNotebook::SelectPage(HWND tab, bool focus) {
    CheckRadioButton(hwnd, kNotebookTabFirstId, kNotebookTabLastId, GetDlgCtrlID(tab));
    if (focus) SetFocus(tab);
}

void CNotebook::ShowPage(int page, bool show) {
    ForEachPageControl(page, [show](HWND control) {
        ShowWindow(control, show ? SW_SHOWNA : SW_HIDE);
        return 1;
    });
}

// A failed validation on OK thus opens the page of the offending field. A
// control on no page leaves the pages as they are.
void CNotebook::FocusControl(int controlId) {
    if (controlId >= kNotebookTabFirstId && controlId <= kNotebookTabLastId) {
        if (HWND tab = GetDlgItem(hwnd, controlId)) SelectPage(tab, true);
        return;
    }
    focusTarget = GetDlgItem(hwnd, controlId);
    focusTab = nullptr;
    if (!focusTarget) return;
    ForEachPage(nullptr, [this](HWND control) {
        if (control == focusTarget) focusTab = pages[pageIndex].tab;
        return 1;
    });
    if (focusTab) SelectPage(focusTab, false);
    CDlg::FocusControl(controlId);
}
