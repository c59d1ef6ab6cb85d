#include "RecoveredRun.h"

#include <windows.h>

#include "MeasurementFileDialog.h"
#include "PageText.h"
#include "RecoveryFile.h"
#include "Settings.h"
#include "TextBuffers.h"
#include "Win32ProfileStore.h"
#include "resource.h"

namespace {

std::wstring Question(const Measurement& m) {
    const std::wstring date = RecordingDateText(m.recordedAt, recoveryDateFormat(theSettings().timeFormat));
    wchar_t text[1024];
    wsprintfW(text, LoadText(IDS_RECOVERY_QUESTION), date.c_str());
    return text;
}

// Answers whether the run went to the file the operator chose.
bool SaveRecoveredRun(HWND owner, RecoveryFile& recovery) {
    Settings& s = theSettings();
    const std::wstring lastSaved = s.desktopLastFile;
    if (chooseMeasurementFile(owner, kChooseSave | kChooseAdvance) != 1) return false;
    const std::wstring path = s.desktopLastFile;
    if (recovery.saveAs(path)) return true;
    s.desktopLastFile = lastSaved;
    MessageBoxW(owner, LoadText(IDS_NOT_SAVED), path.c_str(), MB_OK | MB_ICONERROR);
    return false;
}

}  // namespace

std::wstring RecoveryFilePath() {
    return besideProgram(kRecoveryFileName);
}

bool OfferRecoveredRun(HWND owner) {
    RecoveryFile recovery(RecoveryFilePath());
    Measurement m;
    if (!recovery.read(m)) return false;
    const std::wstring question = Question(m);
    const std::wstring title = theSettings().supervisorWindowTitle;
    for (;;) {
        if (MessageBoxW(owner, question.c_str(), title.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES) {
            if (SaveRecoveredRun(owner, recovery)) return true;
            continue;
        }
        if (MessageBoxW(owner, LoadText(IDS_RECOVERY_DROP), title.c_str(),
                        MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES) {
            recovery.drop();
            return false;
        }
    }
}
