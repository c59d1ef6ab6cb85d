#pragma once
// Every picture of kaltrenox.exe: what it is called in the resource script,
// where its file goes and which function draws it.

#include <string>
#include <vector>

#include "ImageFiles.h"
#include "Raster.h"

// Icons draw themselves at the size of the canvas they are given.
void drawMainIcon(Canvas& c);
void drawXyIcon(Canvas& c);
void drawMeasurementFileIcon(Canvas& c);
void drawFileOpenIcon(Canvas& c);
void drawFileAddIcon(Canvas& c);
void drawFilePrintIcon(Canvas& c);
void drawStartMsIcon(Canvas& c);
void drawConfigIcon(Canvas& c);
void drawZoomAllIcon(Canvas& c);
void drawViewPageIcon(Canvas& c);
void drawCorrIcon(Canvas& c);
void drawEditDataIcon(Canvas& c);
void drawShowLambIcon(Canvas& c);
void drawFettIcon(Canvas& c);
void drawMagerIcon(Canvas& c);
void drawLampOnIcon(Canvas& c);
void drawLampOffIcon(Canvas& c);

// Bitmaps have one fixed size each.
Canvas makeGaugeFace();     // GAUGE1
Canvas makeGaugeGlass();    // GAUGE2
Canvas makeGaugeCover();    // GAUGE3
Canvas makeLogo();          // KALTRNX
Canvas makeFettBitmap();    // FETT
Canvas makeMagerBitmap();   // MAGER

enum class PictureFormat {
    Icon,               // .ico, one 32-bit entry per size
    Bitmap32Alpha,      // .bmp, 32 bits, premultiplied alpha
    Bitmap24,           // .bmp, 24 bits, opaque
    Bitmap4,            // .bmp, 16 colours
};

struct PictureEntry {
    const char* name;  // resource name
    PictureFormat format;
    const char* file;  // below images/
    const char* meaning;
    void (*drawIcon)(Canvas&);  // icons
    std::vector<int> sizes;     // icons
    Canvas (*makeBitmap)();     // bitmaps
    // A numeric resource id's name from resource.h, written in the script
    // instead of the name: for the icon that others address by number
    // ("kaltrenox.exe,-2" as the icon of the measurement files).
    const char* resourceId = nullptr;
};

// Explorer and the taskbar take a program file's first icon group, and in
// the resource directory names sort before numbers and alphabetically: the
// program icon goes in a second time under this name, which sorts first.
constexpr const char* kProgramFileIconName = "APPICON";

const std::vector<PictureEntry>& pictureCatalogue();

// The file content of one entry.
Bytes encodePicture(const PictureEntry& entry);
// The resource script that names every picture.
std::string resourceScript();

// A sheet of every picture, enlarged, with the instruments composed as the
// program draws them, for looking at the whole set at once.
Canvas makeContactSheet();
