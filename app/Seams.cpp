#include "Seams.h"

#include <shellapi.h>

#include "FrameworkState.h"
#include "MyFrame.h"
#include "Settings.h"
#include "TextBuffers.h"
#include "resource.h"

// STAND-IN until the serial link is in the program.
void OpenControllerLink(int16_t port) {
    (void)port;
}

// STAND-IN until the serial link is in the program.
void CloseControllerLink() {}

// STAND-IN until the diagram window is in the program: an empty MDI child
// with the diagram window's title, icon and styles.
CMDIChild* OpenDiagram(CMyFrame* frame, const std::wstring& path) {
    if (!frame || !frame->client) return nullptr;
    HINSTANCE instance = FrameworkInstance();
    const wchar_t* className = RegisterWindowClass(reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
                                                   LoadCursorW(nullptr, IDC_ARROW), LoadIconW(instance, L"XYICON"),
                                                   CS_HREDRAW | CS_VREDRAW);
    const DWORD style = WS_VISIBLE | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW |
                        static_cast<DWORD>(theSettings().supervisorCmdShowChild);
    CEmptyDiagramWindow* window = new CEmptyDiagramWindow;
    if (!path.empty()) window->files.push_back(path);
    return CreateMDIChild(window, frame->client, className, LoadText(IDS_DIAGRAM_TITLE), style);
}

// STAND-IN until the measurement dialog is in the program.
void RunMeasurementCommand(CMyFrame* frame) {
    (void)frame;
}

// STAND-IN until the Options dialog is in the program; the link is reopened
// as it will be after the real dialog.
void RunOptionsCommand(CMyFrame* frame) {
    (void)frame;
    CloseControllerLink();
    OpenControllerLink(theSettings().hardwareComPort);
}

LRESULT CEmptyDiagramWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DROPFILES) {
        HDROP drop = reinterpret_cast<HDROP>(wParam);
        UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            wchar_t name[MAX_PATH] = {};
            DragQueryFileW(drop, i, name, MAX_PATH);
            files.push_back(name);
        }
        DragFinish(drop);
        return 0;
    }
    return CMDIChild::WndProc(message, wParam, lParam);
}
