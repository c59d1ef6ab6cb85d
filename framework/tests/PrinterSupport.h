#pragma once
// Helpers for tests that print on the file printer of the test prefix
// (scripts/file-printer.sh) and check the printed pages afterwards. A test
// program prints into build/windows/printer/pages/GROUP/NAME.ps; then
// scripts/render-pages.sh turns every page of the group into NAME.png
// (150 dpi) and NAME.txt (its text), which a second test program reads with
// RenderedPage. Each test program has its own group, so that their
// renderings never mix.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// build/windows/printer/pages/GROUP/ as seen from the tests' working folder
// (bin), created when missing.
std::wstring PagesFolder(const wchar_t* group);

// The Unix path of a Windows path (Wine's own conversion); empty when unknown.
std::string UnixPathOf(const std::wstring& windowsPath);

// Fills the program's printer choice with the default printer, as the
// program does at start. Answers whether there is one.
bool ChooseDefaultPrinter();

// While it lives, print jobs go to PagesFolder(group)/NAME.ps (an old file of
// that name is deleted first); afterwards the port writes where it wrote before.
class PrinterOutput {
public:
    PrinterOutput(const wchar_t* group, const wchar_t* name);
    ~PrinterOutput();
    PrinterOutput(const PrinterOutput&) = delete;
    PrinterOutput& operator=(const PrinterOutput&) = delete;

    bool Redirected() const { return redirected_; }
    // The size of the PostScript file, or -1 when no job wrote it.
    long long FileSize() const;
    // The file's text (PostScript is plain text), empty when absent.
    std::string Contents() const;

    std::wstring path;

private:
    std::wstring previous_;
    bool redirected_ = false;
};

// A word of a rendered page and its box on the sheet, in millimetres.
struct PageWord {
    std::wstring text;
    double left = 0, top = 0, right = 0, bottom = 0;
};

// Reads a PNG or BMP file as 0xRRGGBB pixels, row by row.
bool LoadPicture(const std::wstring& path, int* width, int* height, std::vector<uint32_t>* pixels);
// Writes a bitmap as PNG (the extension decides nothing; PNG it is).
bool SavePicture(HBITMAP bitmap, const std::wstring& path);

// A page rendered by scripts/render-pages.sh.
class RenderedPage {
public:
    static constexpr double kDotsPerInch = 150.0;

    // Reads NAME.png, NAME.txt and NAME.words.html of the group; answers
    // whether the picture and the text exist.
    bool Load(const wchar_t* group, const wchar_t* name);

    int width = 0, height = 0;  // pixels
    std::wstring text;          // what pdftotext found, lines separated by \n
    std::vector<PageWord> words;   // in reading order
    std::vector<uint32_t> pixels;  // 0xRRGGBB, row by row

    // The first word containing `part`, or null.
    const PageWord* FindWord(const std::wstring& part) const;
    // The pixel box of a word (or any box in millimetres).
    RECT PixelBox(const PageWord& word) const;

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    static double MmToPixels(double mm) { return mm * kDotsPerInch / 25.4; }
    static double PixelsToMm(double pixels) { return pixels * 25.4 / kDotsPerInch; }

    // The smallest rectangle holding every pixel that is not white (R, G and
    // B all above `threshold`); empty when the page is blank.
    RECT InkBounds(int threshold = 200) const;
    // Pixels of the given colour (each channel within `tolerance`) in `area`.
    int CountColour(uint32_t rgb, const RECT& area, int tolerance = 60) const;
};
