#pragma once
// A run left in the recovery file by a program that did not end properly
// (killed, crashed, a power cut while the save dialog of a finished run was
// open): at the next start the operator is asked to save it under a name of
// his choice or to drop it for good.
#include <windows.h>

#include <string>

// "Wiederherstellung.kxm" beside the program.
std::wstring RecoveryFilePath();

// Asks about the run in the recovery file, if there is one that can be
// read: "Ja" opens the save dialog with the next name after Desktop/LastFile
// and writes the run there; "Nein" deletes it after a second question. A
// cancelled file dialog or a second thought goes back to the first
// question: nothing is lost by a slip. Answers whether the run was saved
// (it is then Desktop/LastFile).
bool OfferRecoveredRun(HWND owner);
