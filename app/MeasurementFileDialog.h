#pragma once
// The open and save dialog for measurement files, started from
// Desktop/LastFile; a confirmed choice becomes the new Desktop/LastFile.
#include <windows.h>

enum ChooseFileFlags {
    kChooseSave = 0,
    kChooseOpen = 1,     // open an existing file (else save)
    kChooseAdvance = 2,  // propose the next file number
};

// Answers 1 when the user confirmed a file, else 0.
int chooseMeasurementFile(HWND owner, int flags);
