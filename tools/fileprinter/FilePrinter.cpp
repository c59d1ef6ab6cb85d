// fileprinter: gives a Wine prefix a default printer that writes PostScript
// into a file, for the tests and the demo. Wine's own PostScript driver
// (wineps) with a PPD file prints to the port "LPT1:", and the key
// HKCU\Software\Wine\Printing\Spooler maps that port to a Unix file, so no
// print server is needed.
//
//   fileprinter.exe PPD OUTPUT
//
// PPD is the PPD file as a Windows path (Z:/usr/...), OUTPUT the Unix path of
// the PostScript file each print job writes (it is replaced by every job).
// Safe to run again: the driver and the printer are added once; the port
// mapping, the A4 page and the default printer are put right when they differ.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

const wchar_t kPrinterName[] = L"Dateidrucker PostScript";
const wchar_t kDriverName[] = L"Dateidrucker PostScript";
const wchar_t kPortName[] = L"LPT1:";
const wchar_t kDriverModule[] = L"wineps.drv";
const wchar_t kSpoolerKey[] = L"Software\\Wine\\Printing\\Spooler";

int Fail(const char* what) {
    std::fprintf(stderr, "fileprinter: %s failed (error %lu)\n", what, GetLastError());
    return 1;
}

bool MapPortToFile(const wchar_t* unixPath) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSpoolerKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    DWORD bytes = static_cast<DWORD>((wcslen(unixPath) + 1) * sizeof(wchar_t));
    bool done = RegSetValueExW(key, kPortName, 0, REG_SZ, reinterpret_cast<const BYTE*>(unixPath), bytes) ==
                ERROR_SUCCESS;
    RegCloseKey(key);
    return done;
}

bool PrinterExists() {
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<wchar_t*>(kPrinterName), &printer, nullptr)) return false;
    ClosePrinter(printer);
    return true;
}

// The PPD goes into the printer-driver folder under its own file name; the
// driver record names it as its data file, which is where wineps reads it.
bool AddDriver(const wchar_t* ppdPath) {
    wchar_t folder[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder), sizeof folder, &needed))
        return false;
    const wchar_t* baseName = ppdPath;
    for (const wchar_t* p = ppdPath; *p; ++p)
        if (*p == L'/' || *p == L'\\') baseName = p + 1;
    std::wstring target = std::wstring(folder) + L"\\" + baseName;
    if (!CopyFileW(ppdPath, target.c_str(), FALSE)) return false;

    DRIVER_INFO_3W driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<wchar_t*>(kDriverName);
    driver.pDriverPath = const_cast<wchar_t*>(kDriverModule);
    driver.pConfigFile = const_cast<wchar_t*>(kDriverModule);
    driver.pDataFile = const_cast<wchar_t*>(target.c_str());
    driver.pDefaultDataType = const_cast<wchar_t*>(L"RAW");
    return AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES) != FALSE;
}

bool AddFilePrinter() {
    PRINTER_INFO_2W info{};
    info.pPrinterName = const_cast<wchar_t*>(kPrinterName);
    info.pPortName = const_cast<wchar_t*>(kPortName);
    info.pDriverName = const_cast<wchar_t*>(kDriverName);
    info.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
    info.pDatatype = const_cast<wchar_t*>(L"RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer) return false;
    ClosePrinter(printer);
    return true;
}

// The driver starts every printer on Letter; the printer's stored device mode
// decides what a program gets as its default, so it is set to A4 portrait.
bool MakeA4(bool* changed) {
    *changed = false;
    PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<wchar_t*>(kPrinterName), &printer, &access)) return false;
    bool done = false;
    LONG size = DocumentPropertiesW(nullptr, printer, const_cast<wchar_t*>(kPrinterName), nullptr, nullptr, 0);
    if (size > 0) {
        std::vector<BYTE> buffer(size);
        auto* mode = reinterpret_cast<DEVMODEW*>(buffer.data());
        if (DocumentPropertiesW(nullptr, printer, const_cast<wchar_t*>(kPrinterName), mode, nullptr, DM_OUT_BUFFER) ==
            IDOK) {
            if (mode->dmPaperSize == DMPAPER_A4 && mode->dmOrientation == DMORIENT_PORTRAIT) {
                done = true;
            } else {
                mode->dmFields |= DM_PAPERSIZE | DM_ORIENTATION;
                mode->dmPaperSize = DMPAPER_A4;
                mode->dmOrientation = DMORIENT_PORTRAIT;
                if (DocumentPropertiesW(nullptr, printer, const_cast<wchar_t*>(kPrinterName), mode, mode,
                                        DM_IN_BUFFER | DM_OUT_BUFFER) == IDOK) {
                    PRINTER_INFO_9W info{mode};
                    done = SetPrinterW(printer, 9, reinterpret_cast<BYTE*>(&info), 0) != FALSE;
                    if (done) {
                        PRINTER_INFO_8W global{mode};
                        SetPrinterW(printer, 8, reinterpret_cast<BYTE*>(&global), 0);
                        *changed = true;
                    }
                }
            }
        }
    }
    ClosePrinter(printer);
    return done;
}

bool IsDefaultPrinter() {
    wchar_t name[256] = {};
    DWORD length = 256;
    return GetDefaultPrinterW(name, &length) && wcscmp(name, kPrinterName) == 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: fileprinter PPD OUTPUT\n");
        return 2;
    }
    if (!MapPortToFile(argv[2])) return Fail("mapping the port to the file");
    if (!PrinterExists()) {
        if (!AddDriver(argv[1])) return Fail("adding the printer driver");
        if (!AddFilePrinter()) return Fail("adding the printer");
        std::printf("printer added\n");
    }
    bool changed = false;
    if (!MakeA4(&changed)) return Fail("setting the A4 page");
    if (changed) std::printf("page set to A4\n");
    if (!IsDefaultPrinter()) {
        if (!SetDefaultPrinterW(kPrinterName)) return Fail("choosing the default printer");
        std::printf("default printer chosen\n");
    }
    return 0;
}
