#pragma once
// Where the main frame meets parts of the program that live elsewhere: the
// serial link to the controller, the diagram windows, the measurement and the
// Options dialogs, and the dialogs a diagram asks the application for. The
// frame calls only these functions, so each part is wired in one place.
#include <windows.h>

#include <cstdint>
#include <string>

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
// Record/ResumeMode asks. Answers the run's outcome (0 nothing was saved
// to open, else the Record/ResumeMode it was opened by).
int RunMeasurementCommand(CMyFrame* frame);

// The run just saved as Desktop/LastFile, opened as `resumeMode`
// (Record/ResumeMode) says: 1 a new diagram window, 2 the active one (a
// full one only says so; without one, a new window), 0 nothing.
void OpenRecordedRun(CMyFrame* frame, int resumeMode);

// Command 1547: the Options dialog on the settings; afterwards, whatever its
// result, the serial link is closed and opened again on Hardware/ComPort.
void RunOptionsCommand(CMyFrame* frame);

// What the diagrams ask of the application: the measurement file dialog,
// the data-editing and the correction dialog.
void InstallDiagramHooks();
