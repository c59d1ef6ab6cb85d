#include "MeasurementFileDialog.h"

#include "CommonDialogs.h"
#include "ProposedFile.h"
#include "Settings.h"

namespace {

constexpr const wchar_t kFilter[] = L"Meßwerte [*.kxm]\0*.kxm\0";
constexpr DWORD kOpenFlags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;  // 0x1804
constexpr DWORD kSaveFlags = OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;                    // 0x0802

}  // namespace

int chooseMeasurementFile(HWND owner, int flags) {
    Settings& s = theSettings();
    const ProposedFile proposal = proposeMeasurementFile(s.desktopLastFile, (flags & kChooseAdvance) != 0);
    wchar_t path[CFileDlg::kPathSize] = {};
    lstrcpynW(path, proposal.name.c_str(), CFileDlg::kPathSize);

    CFileDlg dialog(path, owner);
    dialog.record.lpstrFilter = kFilter;
    dialog.record.lpstrDefExt = L"kxm";
    dialog.record.lpstrInitialDir = proposal.folder.empty() ? nullptr : proposal.folder.c_str();
    int confirmed;
    if (flags & kChooseOpen) {
        dialog.record.Flags = kOpenFlags;
        confirmed = dialog.RunOpen();
    } else {
        dialog.record.Flags = kSaveFlags;
        confirmed = dialog.RunSave();
    }
    if (confirmed == 1) s.desktopLastFile = path;
    return confirmed;
}
