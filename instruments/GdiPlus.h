#pragma once
// GDI+ for the program's lifetime. The first drawing that needs it starts it;
// it stays running until the program ends, so a repaint costs only its own
// drawing and not a start and shut-down of the library.
#include <windows.h>

// True when GDI+ runs (started now or earlier); false when it cannot start,
// and the caller then draws without it.
bool GdiPlusReady();

// How often GDI+ was started in this program: 1 once anything drew with it.
int GdiPlusStartCount();
