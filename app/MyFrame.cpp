#include "MyFrame.h"

#include <shellapi.h>

#include "EvaluationCursor.h"
#include "Settings.h"
#include "Status.h"
#include "TextBuffers.h"
#include "ToolBar.h"
#include "resource.h"

namespace {

constexpr int kAxisQuantityCount = 7;  // speed .. distance: both lists
constexpr UINT kMenuSkipFlags = MF_POPUP | MF_SYSMENU;

void AddAxisEntry(HWND list, int nameId, int unitId) {
    wchar_t text[128];
    // each LoadText fills a scratch buffer of its own, so both stay valid here
    const wchar_t* name = LoadText(nameId);
    const wchar_t* unit = LoadText(unitId);
    wsprintfW(text, L"%s [%s]", name, unit);
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

}  // namespace

LRESULT CMyFrame::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CMDIFrame::WndProc(message, wParam, lParam);
    switch (message) {
    case WM_NCDESTROY:          return result;  // the object is gone
    case WM_CREATE:             OnCreate(); break;
    case WM_DESTROY:            DragAcceptFiles(hwnd, FALSE); break;
    case WM_SIZE:               OnSize(wParam); break;
    case WM_SETCURSOR:          OnSetCursor(reinterpret_cast<HWND>(wParam)); break;
    case WM_MENUSELECT:         OnMenuSelect(wParam); break;
    case WM_DROPFILES:          OnDropFiles(wParam, lParam); break;
    case kOpenCommandLineFile:  OnCommandLineFile(); break;
    case kOfferRecoveredRun:    SettleRecoveredRun(); break;
    case kFrameAxisLists:       SelectAxes(lParam); break;
    case kFramePageViewButton:  CheckToolButton(ID_VIEW_PAGE, wParam); break;
    case kFrameLambdaButton:    CheckToolButton(ID_LAMBDA_CURVE, wParam); break;
    case kFrameDiagramClosed:   OnDiagramClosed(reinterpret_cast<HWND>(wParam)); break;
    }
    return result;
}

HWND CMyFrame::CreateStatusBar() {
    return CreateStatusWindow(hwnd);
}

HWND CMyFrame::CreateToolBar() {
    return CreateToolBarWindow(hwnd);
}

void CMyFrame::ShowStatusHelp(int id) {
    if (id == lastHelpId || !statusBar) return;
    SetWindowTextW(statusBar, LoadText(static_cast<UINT>(id)));
    lastHelpId = id;
}

void CMyFrame::OnCreate() {
    FillAxisLists();
    DragAcceptFiles(hwnd, TRUE);
}

// Both lists get the seven plain quantities; the Y list also the two
// combined power and torque views, in the order of their quantity numbers.
void CMyFrame::FillAxisLists() {
    if (!toolBar) return;
    HWND xList = GetDlgItem(toolBar, ID_AXIS_X);
    HWND yList = GetDlgItem(toolBar, ID_AXIS_Y);
    for (int q = 0; q < kAxisQuantityCount; ++q) {
        const QuantityDescriptor& row = quantityDescriptor(q);
        AddAxisEntry(xList, row.nameId, row.unitId);
        AddAxisEntry(yList, row.nameId, row.unitId);
    }
    AddAxisEntry(yList, IDS_POWER_TORQUE, IDS_UNIT_KW_NM);
    AddAxisEntry(yList, IDS_POWER_TORQUE, IDS_UNIT_PS_NM);
}

// The next start opens the frame the way it was left.
void CMyFrame::OnSize(WPARAM sizeType) {
    int32_t& cmdShow = theSettings().supervisorCmdShow;
    if (sizeType == SIZE_MINIMIZED)
        cmdShow = WS_MINIMIZE;
    else if (sizeType == SIZE_MAXIMIZED)
        cmdShow = WS_MAXIMIZE;
    else
        cmdShow = 0;
}

// Only child windows carry a control id; a top-level window's id field holds
// its menu.
void CMyFrame::OnSetCursor(HWND window) {
    if (!window) return;
    CWnd* object = ObjectFromWindow(window);
    if (object && !object->WantsStatusHelp()) return;
    int id = (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) ? LOWORD(GetDlgCtrlID(window)) : 0;
    ShowStatusHelp(id);
}

void CMyFrame::OnMenuSelect(WPARAM wParam) {
    if ((HIWORD(wParam) & kMenuSkipFlags) == 0) ShowStatusHelp(LOWORD(wParam));
}

void CMyFrame::SelectAxes(LPARAM indexes) {
    if (!toolBar) return;
    SendDlgItemMessageW(toolBar, ID_AXIS_X, CB_SETCURSEL, LOWORD(indexes), 0);
    SendDlgItemMessageW(toolBar, ID_AXIS_Y, CB_SETCURSEL, HIWORD(indexes), 0);
}

void CMyFrame::CheckToolButton(int id, WPARAM checked) {
    if (toolBar) CheckDlgButton(toolBar, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

// The tool bar shows the active diagram; with none left it shows nothing
// chosen rather than the state of a window that is gone.
void CMyFrame::OnDiagramClosed(HWND closing) {
    if (!client) return;
    for (HWND child = GetWindow(client, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (child != closing && ObjectFromWindow(child)) return;
    ResetToolBar();
}

void CMyFrame::ResetToolBar() {
    if (!toolBar) return;
    CheckToolButton(ID_VIEW_PAGE, 0);
    CheckToolButton(ID_LAMBDA_CURVE, 0);
    SendDlgItemMessageW(toolBar, ID_AXIS_X, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SendDlgItemMessageW(toolBar, ID_AXIS_Y, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}
