#include "DiagExport.h"

#include "CommonDialogs.h"
#include "Diag.h"
#include "DiagPage.h"
#include "FileIo.h"
#include "MemDC.h"
#include "PictureFiles.h"
#include "Settings.h"
#include "TextBuffers.h"
#include "WaitCursor.h"
#include "resource.h"

namespace {

// the program's current folder stays where it was
constexpr DWORD kExportFlags = OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;

// The dialog's types, in table order, that this build can write.
struct OfferedTypes {
    std::wstring filter;  // "text\0*.ext\0...\0"
    ExportKind kinds[3];
    int count = 0;
};

OfferedTypes Offered() {
    OfferedTypes offered;
    for (int i = 0; i < ExportTypeCount(); ++i) {
        const ExportType& t = ExportTypes()[i];
        if (!CanExport(t.kind) || offered.count == 3) continue;
        offered.filter += LoadText(t.filterText);
        offered.filter += L'\0';
        offered.filter += std::wstring(L"*.") + t.extension;
        offered.filter += L'\0';
        offered.kinds[offered.count++] = t.kind;
    }
    return offered;
}

// The exported sheet: A4 portrait at 300 dpi, all of it printable, as a
// printer without margins of its own would have it; the Borders apply on it
// as on paper.
const PageMetrics kExportPage{2480, 3508, 300, 300};
constexpr LONG kA4Width = 21000, kA4Height = 29700;  // hundredths of a millimetre

// A context that draws into a fixed area: the metafile's page.
class CAreaDC : public CDC {
public:
    CAreaDC(HDC dc, const RECT& area) : CDC(nullptr, dc), area_(area) {}
    void GetRect(RECT* rect) override { *rect = area_; }
    int GetKind() override { return kPrinterDC; }

private:
    RECT area_;
};

void FillWhite(HDC dc, const RECT& area) { FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))); }

// The page drawn off the screen into a bitmap of the whole sheet.
bool PagePng(CDiag& diag, std::string& bytes) {
    CMemDC memory(nullptr, nullptr, kExportPage.width, kExportPage.height);
    RECT sheet{};
    memory.GetRect(&sheet);
    if (!memory.hdc || sheet.right != kExportPage.width || sheet.bottom != kExportPage.height) return false;
    FillWhite(memory.hdc, sheet);
    diag.DrawPage(memory, kExportPage);
    std::unique_ptr<BitmapHolder> picture = memory.DetachBitmap();
    return picture && EncodePng(picture->bitmap, kExportPage.dpiX, bytes);
}

// The same drawing recorded in an enhanced metafile of A4 size, referenced to
// the screen: its page is the sheet in the screen's pixels, onto which the
// page layout maps the 300 dpi sheet.
bool PageEmf(CDiag& diag, std::string& bytes) {
    HDC screen = GetDC(nullptr);
    const RECT frame{0, 0, kA4Width, kA4Height};
    HDC recording = CreateEnhMetaFileW(screen, nullptr, &frame, L"Kaltrenox\0Diagramm-Fenster\0\0");
    const RECT area{0, 0, MulDiv(kA4Width, GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, HORZSIZE) * 100),
                    MulDiv(kA4Height, GetDeviceCaps(screen, VERTRES), GetDeviceCaps(screen, VERTSIZE) * 100)};
    ReleaseDC(nullptr, screen);
    if (!recording) return false;
    {
        CAreaDC page(recording, area);
        FillWhite(recording, area);
        diag.DrawPage(page, kExportPage);
    }
    HENHMETAFILE metafile = CloseEnhMetaFile(recording);
    const bool made = MetafileBytes(metafile, bytes);
    if (metafile) DeleteEnhMetaFile(metafile);
    return made;
}

}  // namespace

bool CanExport(ExportKind kind) {
    return kind == ExportKind::PagePng || kind == ExportKind::PageEmf || kind == ExportKind::PointsCsv;
}

bool MakeExport(CDiag& diag, ExportKind kind, std::string& bytes) {
    switch (kind) {
    case ExportKind::PagePng:
        return PagePng(diag, bytes);
    case ExportKind::PageEmf:
        return PageEmf(diag, bytes);
    case ExportKind::PointsCsv:
        bytes = PointTableFile(diag.d);
        return true;
    }
    return false;
}

bool WriteExport(CDiag& diag, ExportKind kind, const std::wstring& path) {
    std::string bytes;
    WaitCursor wait;
    return MakeExport(diag, kind, bytes) && replaceFileContents(path, bytes);
}

void ExportDiagram(CDiag& diag) {
    if (diag.d.count == 0) return;
    HWND owner = GetParent(diag.hwnd) ? GetParent(diag.hwnd) : diag.hwnd;
    Settings& s = theSettings();
    const OfferedTypes offered = Offered();
    if (offered.count == 0) return;

    ExportProposal proposal = ProposeExport(s.desktopLastExport, diag.d.measurements[0]->fileName);
    int filterIndex = 1;
    for (int i = 0; i < offered.count; ++i)
        if (offered.kinds[i] == proposal.kind) filterIndex = i + 1;
    ExportKind kind = offered.kinds[filterIndex - 1];
    ExportKind named;
    if (ExportKindOfPath(proposal.name, named) && named != kind) {
        const size_t dot = proposal.name.rfind(L'.');
        proposal.name = proposal.name.substr(0, dot + 1) + ExportTypeOf(kind).extension;
    }

    wchar_t path[CFileDlg::kPathSize] = {};
    lstrcpynW(path, proposal.name.c_str(), CFileDlg::kPathSize);
    CFileDlg dialog(path, owner);
    dialog.record.lpstrFilter = offered.filter.c_str();
    dialog.record.nFilterIndex = DWORD(filterIndex);
    dialog.record.lpstrDefExt = ExportTypeOf(kind).extension;
    dialog.record.lpstrInitialDir = proposal.folder.empty() ? nullptr : proposal.folder.c_str();
    dialog.record.Flags = kExportFlags;
    if (dialog.RunSave() != 1) return;

    // the type chosen in the list, unless the name itself says another one
    const DWORD chosen = dialog.record.nFilterIndex;
    if (chosen >= 1 && int(chosen) <= offered.count) kind = offered.kinds[chosen - 1];
    if (ExportKindOfPath(path, named) && CanExport(named)) kind = named;
    const std::wstring file = WithExportExtension(path, kind);

    if (!WriteExport(diag, kind, file)) {
        MessageBoxW(owner, LoadText(IDS_NOT_SAVED), file.c_str(), MB_OK | MB_ICONERROR);
        return;
    }
    s.desktopLastExport = file;
}
