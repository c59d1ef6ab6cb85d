#pragma once
// Where the main frame meets parts of the program that live elsewhere: the
// serial link to the controller, the diagram windows, the measurement and the
// Options dialogs. The frame calls only these functions, so each part is
// wired in one place.
//
// STAND-INS: the serial link, the diagram window and the two dialogs are not
// in this build yet. Until they are, the link is not opened, a diagram window
// is an empty MDI child titled "Diagramm-Fenster" (enough for tiling,
// cascading, routing and dropped files), and the two dialog commands show
// nothing. Replace the bodies in Seams.cpp when the real parts arrive.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Frame.h"

class CMyFrame;

// The one link to the controller on COM port `port` (Hardware/ComPort); a
// port that cannot be opened leaves the link closed, silently.
void OpenControllerLink(int16_t port);
void CloseControllerLink();

// A new diagram window in the frame's MDI client; with a path, the file is
// added to it. Answers the window object (null when none could be made).
CMDIChild* OpenDiagram(CMyFrame* frame, const std::wstring& path);

// Command 1543: the measurement dialog, then the recorded file opened as
// Record/ResumeMode asks.
void RunMeasurementCommand(CMyFrame* frame);

// Command 1547: the Options dialog on the settings; afterwards, whatever its
// result, the serial link is closed and opened again on Hardware/ComPort.
void RunOptionsCommand(CMyFrame* frame);

// STAND-IN diagram window: remembers the files it was given (the path it was
// opened with, then dropped files in order) and shows nothing.
class CEmptyDiagramWindow : public CMDIChild {
public:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    std::vector<std::wstring> files;
};
