#include "FileChooserStandIn.h"

#include <string>

#include "CommonDialogs.h"
#include "Settings.h"

int ChooseFileStandIn(HWND owner, int flags) {
    Settings& s = theSettings();
    std::wstring folder, name = s.desktopLastFile;
    const size_t slash = name.find_last_of(L'\\');
    if (slash != std::wstring::npos) {
        folder = name.substr(0, slash);
        name = name.substr(slash + 1);
    }
    const size_t dot = name.find_last_of(L'.');
    if ((flags & 2) && dot != std::wstring::npos && dot > 0 && name[dot - 1] >= L'0' && name[dot - 1] <= L'8')
        ++name[dot - 1];
    wchar_t path[CFileDlg::kPathSize] = {};
    name.copy(path, CFileDlg::kPathSize - 1);
    CFileDlg dialog(path, owner);
    dialog.record.lpstrFilter = L"Meßwerte [*.kxm]\0*.kxm\0";
    dialog.record.lpstrDefExt = L"kxm";
    dialog.record.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.record.Flags = (flags & 1) ? 0x1804 : 0x0802;
    const int confirmed = (flags & 1) ? dialog.RunOpen() : dialog.RunSave();
    if (confirmed) s.desktopLastFile = path;
    return confirmed;
}
