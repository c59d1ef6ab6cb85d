// The printed diagram pages of diagram_print_tests, read from their
// renderings (scripts/render-pages.sh): the blocks of the measurements in
// their colours stacked from the bottom margin up, their texts, the
// headline above the plot, the margins, and the page view as the same page
// reduced to the window. Copies the page to build/screenshots/printed-page.png.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "PageComparison.h"
#include "PrinterSupport.h"
#include "Utf8.h"

namespace {

const wchar_t kGroup[] = L"diagram";

// Curve and block colours by position: black, red, green, blue, magenta, cyan, yellow.
const uint32_t kColours[7] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFF00};

// Default margins, millimetres.
constexpr double kLeft = 22, kTop = 23, kRight = 24, kBottom = 25;
constexpr double kIndent = 10;
// A word's box comes from its font, not its ink; text lies within a millimetre.
constexpr double kTextTolerance = 1.0;

// One block of a measurement as diagram_print_tests expects it.
struct ExpectedBlock {
    std::wstring file, power, torque, weather;
    std::vector<int> rpms;
};

struct Expected {
    std::vector<ExpectedBlock> blocks;
    std::map<std::string, std::wstring> extra;
};

bool ReadExpected(const wchar_t* name, Expected* expected) {
    std::ifstream in(toUtf8(PagesFolder(kGroup) + name + L".expected"), std::ios::binary);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        std::string key = line.substr(0, tab);
        std::wstring value = fromUtf8(line.substr(tab + 1));
        if (key == "file") expected->blocks.emplace_back();
        if (expected->blocks.empty() && (key == "power" || key == "torque" || key == "weather" || key == "rpm"))
            return false;
        if (key == "file") expected->blocks.back().file = value;
        else if (key == "power") expected->blocks.back().power = value;
        else if (key == "torque") expected->blocks.back().torque = value;
        else if (key == "weather") expected->blocks.back().weather = value;
        else if (key == "rpm") expected->blocks.back().rpms.push_back(std::stoi(line.substr(tab + 1)));
        else expected->extra[key] = value;
    }
    return true;
}

// Runs of white space become one blank, so that line breaks of the text
// extraction do not matter.
std::wstring Squeezed(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (std::iswspace(c)) {
            if (!out.empty() && out.back() != L' ') out += L' ';
        } else {
            out += c;
        }
    }
    return out;
}

// The dominant colour of the ink in a word's box.
int InkOf(const RenderedPage& page, const PageWord& word, uint32_t colour) {
    return page.CountColour(colour, page.PixelBox(word), 70);
}

// The words of all "P(max):" lines, top to bottom.
std::vector<const PageWord*> AllWords(const RenderedPage& page, const std::wstring& text) {
    std::vector<const PageWord*> found;
    for (const PageWord& word : page.words)
        if (word.text == text) found.push_back(&word);
    std::sort(found.begin(), found.end(), [](const PageWord* a, const PageWord* b) { return a->top < b->top; });
    return found;
}

// Where ink of one colour lies, as fractions of the picture's width and height.
struct Spread {
    double left = 1, top = 1, right = 0, bottom = 0;
    int count = 0;
};

Spread SpreadOf(int width, int height, const std::vector<uint32_t>& pixels, uint32_t colour) {
    Spread s;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t c = pixels[static_cast<size_t>(y) * width + x];
            int dr = int((c >> 16) & 255) - int((colour >> 16) & 255);
            int dg = int((c >> 8) & 255) - int((colour >> 8) & 255);
            int db = int(c & 255) - int(colour & 255);
            if (std::abs(dr) > 90 || std::abs(dg) > 90 || std::abs(db) > 90) continue;
            ++s.count;
            s.left = std::min(s.left, double(x) / width);
            s.right = std::max(s.right, double(x + 1) / width);
            s.top = std::min(s.top, double(y) / height);
            s.bottom = std::max(s.bottom, double(y + 1) / height);
        }
    return s;
}

class PrintedPage : public ::testing::Test {
protected:
    bool Load(const wchar_t* name) {
        if (!page.Load(kGroup, name)) {
            ADD_FAILURE() << "no rendering of " << toUtf8(name) << " (scripts/render-pages.sh)";
            return false;
        }
        if (!ReadExpected(name, &expected)) {
            ADD_FAILURE() << "no expectations for " << toUtf8(name);
            return false;
        }
        text = Squeezed(page.text);
        return true;
    }
    const PageWord* FileWord(const ExpectedBlock& block) { return page.FindWord(block.file); }

    RenderedPage page;
    Expected expected;
    std::wstring text;
};

}  // namespace

TEST_F(PrintedPage, ThreeRunsBlocksInTheirColoursStackedFromTheBottomMargin) {
    ASSERT_TRUE(Load(L"three-runs"));
    CreateDirectoryW(L"..\\..\\screenshots", nullptr);
    EXPECT_TRUE(CopyFileW((PagesFolder(kGroup) + L"three-runs.png").c_str(), L"..\\..\\screenshots\\printed-page.png", FALSE));
    EXPECT_NEAR(RenderedPage::PixelsToMm(page.width), 210, 1);
    EXPECT_NEAR(RenderedPage::PixelsToMm(page.height), 297, 1);
    ASSERT_EQ(expected.blocks.size(), 3u);

    // every line of every block, as worked out from the measurements
    for (size_t i = 0; i < expected.blocks.size(); ++i) {
        const ExpectedBlock& b = expected.blocks[i];
        SCOPED_TRACE("block " + std::to_string(i) + " " + toUtf8(b.file));
        for (const std::wstring* line : {&b.power, &b.torque, &b.weather})
            EXPECT_NE(text.find(Squeezed(*line)), std::wstring::npos) << toUtf8(*line) << "\nin\n" << toUtf8(text);
    }
    EXPECT_NE(text.find(L"( Meßzeitpunkt unbekannt! ); Temp."), std::wstring::npos);
    EXPECT_NE(text.find(L"Zündung 2° früher"), std::wstring::npos) << "the long comment";
    // engine speeds are truncated to tens, also those that are not round
    bool unroundSpeed = false;
    for (const ExpectedBlock& b : expected.blocks)
        for (int rpm : b.rpms) {
            unroundSpeed |= rpm % 10 != 0;
            EXPECT_NE(text.find(L"bei " + std::to_wstring(rpm / 10 * 10) + L" U/min"), std::wstring::npos) << rpm;
            if (rpm % 10) {
                EXPECT_EQ(text.find(L"bei " + std::to_wstring(rpm) + L" U/min"), std::wstring::npos) << rpm;
            }
        }
    EXPECT_TRUE(unroundSpeed) << "the runs should have an engine speed that is not a multiple of ten";

    // the blocks: the first measurement's highest, each in its colour; the
    // file name at the left margin, the lines below it 10 mm further in
    const PageWord* files[3] = {};
    for (int i = 0; i < 3; ++i) {
        files[i] = FileWord(expected.blocks[i]);
        ASSERT_NE(files[i], nullptr) << toUtf8(expected.blocks[i].file);
        EXPECT_NEAR(files[i]->left, kLeft, kTextTolerance) << i;
        EXPECT_GT(InkOf(page, *files[i], kColours[i]), 30) << "file name " << i << " in its colour";
        if (i > 0) {
            EXPECT_GT(files[i]->top, files[i - 1]->bottom) << "block " << i << " lies below block " << i - 1;
        }
    }
    std::vector<const PageWord*> powers = AllWords(page, L"P(max):");
    ASSERT_EQ(powers.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(powers[i]->left, kLeft + kIndent, kTextTolerance) << i;
        EXPECT_GT(powers[i]->top, files[i]->top) << "P(max) under the file name";
        EXPECT_GT(InkOf(page, *powers[i], kColours[i]), 20) << "P(max) line " << i << " in its colour";
        if (i < 2) {
            EXPECT_LT(powers[i]->top, files[i + 1]->top);
        }
    }
    // the last block's comment ends at the bottom margin
    double lowest = 0;
    for (const PageWord& word : page.words) lowest = std::max(lowest, word.bottom);
    EXPECT_NEAR(lowest, 297 - kBottom, 1.5);

    // the headline 15 mm above the plot, which starts 9 mm below the top margin
    const std::wstring& headline = expected.extra["headline"];
    ASSERT_FALSE(headline.empty());
    EXPECT_NE(text.find(headline), std::wstring::npos);
    const PageWord* first = page.FindWord(headline.substr(0, headline.find(L' ')));
    ASSERT_NE(first, nullptr);
    EXPECT_NEAR(first->top, kTop + 9 - 15, kTextTolerance);

    // nothing outside the margins, but for the headline in the top margin
    RECT ink = page.InkBounds();
    EXPECT_GE(RenderedPage::PixelsToMm(ink.left), kLeft - 0.5);
    EXPECT_LE(RenderedPage::PixelsToMm(ink.right), 210 - kRight + 0.5);
    EXPECT_GE(RenderedPage::PixelsToMm(ink.top), kTop + 9 - 15 - 0.5);
    EXPECT_LE(RenderedPage::PixelsToMm(ink.bottom), 297 - kBottom + 0.5);
    // and the diagram reaches close to them
    EXPECT_LT(RenderedPage::PixelsToMm(ink.left), kLeft + 10);
    EXPECT_GT(RenderedPage::PixelsToMm(ink.right), 210 - kRight - 10);
}

TEST_F(PrintedPage, CorrectionFactorsAreStatedAndTheOneOutsideTheBandWarned) {
    ASSERT_TRUE(Load(L"corrected"));
    ASSERT_EQ(expected.blocks.size(), 2u);
    const std::wstring warning = L"Korrekturfaktor außerhalb 0.93 … 1.07: Ergebnis nur bedingt vergleichbar";
    // each date line goes on with its factor
    for (int i = 0; i < 2; ++i) {
        const std::wstring line = expected.blocks[i].weather + L"; " + expected.extra["factor" + std::to_string(i)];
        EXPECT_NE(text.find(Squeezed(line)), std::wstring::npos) << toUtf8(line) << "\nin\n" << toUtf8(text);
    }
    // one warning: the second run's, under its date line, in its colour (red)
    const size_t at = text.find(warning);
    ASSERT_NE(at, std::wstring::npos) << toUtf8(text);
    EXPECT_EQ(text.find(warning, at + 1), std::wstring::npos) << "only the run outside the band";
    EXPECT_GT(at, text.find(expected.extra["factor1"])) << "below the factor it warns about";
    std::vector<const PageWord*> lines = AllWords(page, L"außerhalb");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_GT(InkOf(page, *lines[0], kColours[1]), 20) << "in the block's colour";
    EXPECT_EQ(InkOf(page, *lines[0], kColours[0]), 0);
    const PageWord* secondFile = FileWord(expected.blocks[1]);
    ASSERT_NE(secondFile, nullptr);
    EXPECT_GT(lines[0]->top, secondFile->top) << "in the second block";
    // the axis title names correction and smoothing and marks the diagram
    EXPECT_NE(text.find(Squeezed(expected.extra["title"])), std::wstring::npos) << toUtf8(text);
}

// The exported pictures, from build/windows/printer/exports.
static std::wstring ExportedFile(const wchar_t* name) { return std::wstring(L"..\\printer\\exports\\") + name; }

// A4 at 100 dpi
constexpr int kWidth100 = 827, kHeight100 = 1169;
// Measure: the share of 100 dpi pixels whose grey (3 × 3 blurred) differs by
// more than a quarter of the range. Two renderers of one page differ in how
// they smooth letters and place lines by half a pixel; a missing line of
// text or a shifted curve moves far more.
constexpr double kMostDiffering = 0.02;
// ... and no band of 4 mm whose ink differs by more than this share.
constexpr double kWorstBand = 0.35;
// The EMF measures its texts on its reference device, the 96 dpi screen, so
// its lines wrap and space by a pixel or so differently from the 300 dpi
// picture: a looser share, but the same ink within 10 %.
constexpr double kMostDifferingEmf = 0.03;

TEST(ExportedPage, PngIsThePrintedPageAndTheEmfReplaysToIt) {
    RenderedPage printed;
    ASSERT_TRUE(printed.Load(kGroup, L"exported")) << "scripts/render-pages.sh";
    int width = 0, height = 0;
    std::vector<uint32_t> png;
    ASSERT_TRUE(LoadPicture(ExportedFile(L"three-runs.png"), &width, &height, &png));
    EXPECT_EQ(width, 2480);
    EXPECT_EQ(height, 3508);
    CreateDirectoryW(L"..\\..\\screenshots", nullptr);
    EXPECT_TRUE(CopyFileW(ExportedFile(L"three-runs.png").c_str(), L"..\\..\\screenshots\\exported-page.png", FALSE));

    const GreyPicture fromPng = At100Dpi(png, width, height, 300, kWidth100, kHeight100);
    const GreyPicture fromPrint =
        At100Dpi(printed.pixels, printed.width, printed.height, RenderedPage::kDotsPerInch, kWidth100, kHeight100);
    const PageDifference paper = Compare(fromPng, fromPrint);
    std::printf("PNG vs printed page at 100 dpi: %.3f %% of the pixels differ, ink %.2f %% / %.2f %%, worst band %.2f\n",
                100 * paper.differing, 100 * paper.inkA, 100 * paper.inkB, paper.worstBand);
    EXPECT_LT(paper.differing, kMostDiffering);
    EXPECT_LT(paper.worstBand, kWorstBand);
    EXPECT_GT(paper.inkA, 0.01) << "the page is not blank";
    EXPECT_NEAR(paper.inkA, paper.inkB, paper.inkB * 0.25);
}

// The EMF played back into a bitmap of the sheet at 300 dpi, white first,
// so that it is brought to 100 dpi the way the PNG is.
constexpr int kWidth300 = 2480, kHeight300 = 3508;
static bool ReplayAt300Dpi(const std::wstring& path, std::vector<uint32_t>& pixels) {
    HENHMETAFILE metafile = GetEnhMetaFileW(path.c_str());
    if (!metafile) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth300;
    info.bmiHeader.biHeight = -kHeight300;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool played = false;
    if (bitmap && bits) {
        HGDIOBJ previous = SelectObject(dc, bitmap);
        RECT sheet{0, 0, kWidth300, kHeight300};
        FillRect(dc, &sheet, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        played = PlayEnhMetaFile(dc, metafile, &sheet) != 0;
        GdiFlush();
        const uint32_t* p = static_cast<const uint32_t*>(bits);
        pixels.assign(p, p + size_t(kWidth300) * kHeight300);
        for (uint32_t& c : pixels) c &= 0xFFFFFF;
        SelectObject(dc, previous);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(dc);
    DeleteEnhMetaFile(metafile);
    return played;
}

TEST(ExportedPage, EmfReplaysToThePngAndKxmReportDrawsTheSamePage) {
    int width = 0, height = 0;
    std::vector<uint32_t> png, replayed;
    ASSERT_TRUE(LoadPicture(ExportedFile(L"three-runs.png"), &width, &height, &png));
    const GreyPicture fromPng = At100Dpi(png, width, height, 300, kWidth100, kHeight100);
    for (const wchar_t* emf : {L"three-runs.emf", L"three-runs-kxm.emf"}) {
        ASSERT_TRUE(ReplayAt300Dpi(ExportedFile(emf), replayed)) << toUtf8(emf);
        const GreyPicture fromEmf = At100Dpi(replayed, kWidth300, kHeight300, 300, kWidth100, kHeight100);
        const PageDifference d = Compare(fromEmf, fromPng);
        std::printf("%s replayed vs PNG at 100 dpi: %.3f %% of the pixels differ, ink %.2f %% / %.2f %%, worst band %.2f\n",
                    toUtf8(emf).c_str(), 100 * d.differing, 100 * d.inkA, 100 * d.inkB, d.worstBand);
        EXPECT_LT(d.differing, kMostDifferingEmf) << toUtf8(emf);
        EXPECT_NEAR(d.inkA, d.inkB, d.inkB * 0.10) << toUtf8(emf);
    }
    // kxm.exe report of the same three files: the same picture, pixel for pixel
    int kw = 0, kh = 0;
    std::vector<uint32_t> byKxm;
    ASSERT_TRUE(LoadPicture(ExportedFile(L"three-runs-kxm.png"), &kw, &kh, &byKxm));
    ASSERT_EQ(kw, width);
    ASSERT_EQ(kh, height);
    size_t differing = 0;
    for (size_t i = 0; i < png.size(); ++i) differing += png[i] != byKxm[i];
    EXPECT_EQ(differing, 0u) << "of " << png.size() << " pixels";
}

TEST_F(PrintedPage, WithoutBordersTheWholePrintableAreaIsUsed) {
    ASSERT_TRUE(Load(L"no-borders"));
    ASSERT_EQ(expected.blocks.size(), 3u);
    const PageWord* file = FileWord(expected.blocks[0]);
    ASSERT_NE(file, nullptr);
    EXPECT_NEAR(file->left, 0, kTextTolerance);
    std::vector<const PageWord*> powers = AllWords(page, L"P(max):");
    ASSERT_EQ(powers.size(), 3u);
    EXPECT_NEAR(powers[0]->left, kIndent, kTextTolerance);
    double lowest = 0;
    for (const PageWord& word : page.words) lowest = std::max(lowest, word.bottom);
    EXPECT_GT(lowest, 297 - 2.5);
    RECT ink = page.InkBounds();
    EXPECT_GT(RenderedPage::PixelsToMm(ink.right), 210 - 10);
    EXPECT_LT(RenderedPage::PixelsToMm(ink.top), 10);
}

TEST_F(PrintedPage, SevenRunsStackWhatFitsAndLeaveOutWhatDoesNot) {
    ASSERT_TRUE(Load(L"seven-runs"));
    ASSERT_EQ(expected.blocks.size(), 7u);
    // the blocks that are there are in order and in their colours
    const PageWord* previous = nullptr;
    for (int i = 1; i < 7; ++i) {
        const PageWord* file = FileWord(expected.blocks[i]);
        ASSERT_NE(file, nullptr) << "block " << i;
        if (previous) {
            EXPECT_GT(file->top, previous->top) << "block " << i;
        }
        // yellow on white is faint; the others carry plenty of ink
        if (i != 6) {
            EXPECT_GT(InkOf(page, *file, kColours[i]), 30) << "file name " << i;
        }
        previous = file;
    }
    // the first block's long comment and then its file name did not fit
    // above the top margin and were left out; its shorter lines in between did
    // (the P(max) line runs through the axis title, so its text is mixed)
    EXPECT_EQ(FileWord(expected.blocks[0]), nullptr);
    EXPECT_NE(text.find(Squeezed(expected.blocks[0].weather)), std::wstring::npos);
    EXPECT_NE(text.find(Squeezed(expected.blocks[0].torque)), std::wstring::npos);
    EXPECT_EQ(AllWords(page, L"P(max):").size(), 7u);
    for (const wchar_t* lead : {L"P(max):", L"M(max):", L"erstellt", L"Serienstand"})
        for (const PageWord* word : AllWords(page, lead)) EXPECT_GE(word->top, kTop - 0.5) << toUtf8(lead);
}

TEST_F(PrintedPage, PageViewIsThePrintedPageReducedToTheWindow) {
    ASSERT_TRUE(Load(L"three-runs"));
    int width = 0, height = 0;
    std::vector<uint32_t> preview;
    ASSERT_TRUE(LoadPicture(PagesFolder(kGroup) + L"three-runs.preview.bmp", &width, &height, &preview));
    EXPECT_NEAR(double(width) / height, double(page.width) / page.height, 0.01);
    // red and green: the second and third measurement's curves and blocks
    for (int i : {1, 2}) {
        Spread onPaper = SpreadOf(page.width, page.height, page.pixels, kColours[i]);
        Spread onScreen = SpreadOf(width, height, preview, kColours[i]);
        SCOPED_TRACE("colour " + std::to_string(i));
        ASSERT_GT(onPaper.count, 100);
        ASSERT_GT(onScreen.count, 20);
        EXPECT_NEAR(onScreen.left, onPaper.left, 0.02);
        EXPECT_NEAR(onScreen.right, onPaper.right, 0.02);
        EXPECT_NEAR(onScreen.top, onPaper.top, 0.02);
        EXPECT_NEAR(onScreen.bottom, onPaper.bottom, 0.02);
    }
    // the sheet's outline is drawn on the screen only
    EXPECT_EQ(preview[0], 0x000000u);
}
