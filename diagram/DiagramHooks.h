#pragma once
// What the diagram asks of the application layer above it: the measurement
// file dialog of the frame and the two modal dialogs of a diagram ("EDITDATA"
// on its measurements, "CORRECT" on its evaluation options). The application
// fills these in at start-up; a hook left empty makes its command do nothing,
// as a cancelled dialog would.
#include <windows.h>

#include "DiagramState.h"

struct DiagramHooks {
    // The file dialog for measurement files; flags bit 0 = open. Answers 1
    // when confirmed, the chosen path is then in Desktop/LastFile.
    int (*chooseMeasurementFile)(HWND owner, int flags) = nullptr;
    // The data-editing dialog on the diagram's measurement list; answers the
    // id that ended it (IDOK when values were taken).
    INT_PTR (*editData)(HWND owner, DiagramState& diagram) = nullptr;
    // The correction dialog on the diagram's evaluation options; answers the
    // id that ended it.
    INT_PTR (*correction)(HWND owner, EvaluationOptions& options) = nullptr;
};

// The one program-wide set.
DiagramHooks& theDiagramHooks();
