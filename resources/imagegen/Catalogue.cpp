#include "Pictures.h"

#include <cmath>

const std::vector<PictureEntry>& pictureCatalogue() {
    static const std::vector<int> kIconSizes{16, 32, 48};
    static const std::vector<PictureEntry> kEntries{
        {"MAINICON", PictureFormat::Icon, "main.ico", "program icon: main frame, About box", drawMainIcon, kIconSizes, nullptr},
        {"XYICON", PictureFormat::Icon, "xy.ico", "diagram window icon", drawXyIcon, kIconSizes, nullptr},
        {"KXMFILE", PictureFormat::Icon, "kxmfile.ico", "measurement files (.kxm) in Explorer", drawMeasurementFileIcon,
         kIconSizes, nullptr, "IDI_MEASUREMENT_FILE"},
        {"FILEOPEN", PictureFormat::Icon, "fileopen.ico", "tool bar 513: open a measurement", drawFileOpenIcon, kIconSizes, nullptr},
        {"FILEADD", PictureFormat::Icon, "fileadd.ico", "tool bar 512: add a measurement", drawFileAddIcon, kIconSizes, nullptr},
        {"FILEPRINT", PictureFormat::Icon, "fileprint.ico", "tool bar 516: print the diagram", drawFilePrintIcon, kIconSizes, nullptr},
        {"STARTMS", PictureFormat::Icon, "startms.ico", "tool bar 1543: start a measurement", drawStartMsIcon, kIconSizes, nullptr},
        {"CONFIG", PictureFormat::Icon, "config.ico", "tool bar 1547: settings", drawConfigIcon, kIconSizes, nullptr},
        {"ZOOMALL", PictureFormat::Icon, "zoomall.ico", "tool bar 1544: zoom to show everything", drawZoomAllIcon, kIconSizes, nullptr},
        {"VIEWPAGE", PictureFormat::Icon, "viewpage.ico", "tool bar 1537: page view (toggle)", drawViewPageIcon, kIconSizes, nullptr},
        {"CORR", PictureFormat::Icon, "corr.ico", "tool bar 1553: correction method", drawCorrIcon, kIconSizes, nullptr},
        {"EDITDATA", PictureFormat::Icon, "editdata.ico", "tool bar 1548: edit the data", drawEditDataIcon, kIconSizes, nullptr},
        {"SHOWLAMB", PictureFormat::Icon, "showlamb.ico", "tool bar 1554: lambda curve (toggle)", drawShowLambIcon, kIconSizes, nullptr},
        {"FETT", PictureFormat::Icon, "fett.ico", "rich mixture mark of the A/F bar", drawFettIcon, kIconSizes, nullptr},
        {"MAGER", PictureFormat::Icon, "mager.ico", "lean mixture mark of the A/F bar", drawMagerIcon, kIconSizes, nullptr},
        {"LAMPON", PictureFormat::Icon, "lampon.ico", "signal lamp, lit (red)", drawLampOnIcon, kIconSizes, nullptr},
        {"LAMPOFF", PictureFormat::Icon, "lampoff.ico", "signal lamp, dark", drawLampOffIcon, kIconSizes, nullptr},
        {"GAUGE1", PictureFormat::Bitmap32Alpha, "gauge1.bmp", "dial face, 300 x 300, opaque", nullptr, {}, makeGaugeFace},
        {"GAUGE2", PictureFormat::Bitmap32Alpha, "gauge2.bmp", "glass reflection overlay, 300 x 300, drawn with alpha 80", nullptr, {}, makeGaugeGlass},
        {"GAUGE3", PictureFormat::Bitmap32Alpha, "gauge3.bmp", "needle hub and rim shadow overlay, 300 x 300", nullptr, {}, makeGaugeCover},
        {"KALTRNX", PictureFormat::Bitmap24, "kaltrnx.bmp", "product logo of the About box, 164 x 37", nullptr, {}, makeLogo},
        {"FETT", PictureFormat::Bitmap4, "fett.bmp", "rich mixture mark of the lambda panel, 17 x 9, 16 colours", nullptr, {}, makeFettBitmap},
        {"MAGER", PictureFormat::Bitmap4, "mager.bmp", "lean mixture mark of the lambda panel, 17 x 9, 16 colours", nullptr, {}, makeMagerBitmap},
    };
    return kEntries;
}

// The 16 colours of the classic VGA palette.
static std::vector<Rgba8> vgaPalette() {
    return {{0, 0, 0, 0},       {128, 0, 0, 0},   {0, 128, 0, 0},   {128, 128, 0, 0},
            {0, 0, 128, 0},     {128, 0, 128, 0}, {0, 128, 128, 0}, {192, 192, 192, 0},
            {128, 128, 128, 0}, {255, 0, 0, 0},   {0, 255, 0, 0},   {255, 255, 0, 0},
            {0, 0, 255, 0},     {255, 0, 255, 0}, {0, 255, 255, 0}, {255, 255, 255, 0}};
}

static Bytes encodeBmp4Nearest(const Canvas& image) {
    const std::vector<Rgba8> palette = vgaPalette();
    std::vector<uint8_t> indices;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            // flattened onto white, as the diagram shows it
            const Color c = image.pixel(x, y);
            const Color flat = mix(Color{1, 1, 1, 1}, c, c.a);
            const int r = toByte(flat.r), g = toByte(flat.g), b = toByte(flat.b);
            int best = 0, bestDistance = 1 << 30;
            for (int i = 0; i < 16; ++i) {
                const int dr = r - palette[i].r, dg = g - palette[i].g, db = b - palette[i].b;
                const int d = dr * dr + dg * dg + db * db;
                if (d < bestDistance) {
                    best = i;
                    bestDistance = d;
                }
            }
            indices.push_back(static_cast<uint8_t>(best));
        }
    return encodeBmp4(image.width(), image.height(), indices, palette);
}

Bytes encodePicture(const PictureEntry& entry) {
    switch (entry.format) {
    case PictureFormat::Icon: {
        std::vector<Canvas> canvases;
        for (int size : entry.sizes) {
            canvases.emplace_back(size, size);
            entry.drawIcon(canvases.back());
        }
        std::vector<const Canvas*> pointers;
        for (const Canvas& c : canvases) pointers.push_back(&c);
        return encodeIco(pointers);
    }
    case PictureFormat::Bitmap32Alpha:
        return encodeBmp32Premultiplied(entry.makeBitmap());
    case PictureFormat::Bitmap24:
        return encodeBmp24(entry.makeBitmap(), Color{1, 1, 1, 1});
    case PictureFormat::Bitmap4:
        return encodeBmp4Nearest(entry.makeBitmap());
    }
    return {};
}

std::string resourceScript() {
    std::string rc =
        "// The icons and bitmaps of kaltrenox.exe. Written by resources/imagegen together\n"
        "// with the files in images/; change the drawing code and run imagegen again\n"
        "// rather than editing either by hand (a test compares them byte for byte).\n"
        "#pragma code_page(65001)\n\n"
        "#include \"resource.h\"\n\n";
    const PictureEntry& program = pictureCatalogue().front();
    rc += std::string(kProgramFileIconName) + " ICON     \"images/" + program.file +
          "\"         // the program file's icon in Explorer and the taskbar: first by name\n";
    for (const PictureEntry& e : pictureCatalogue()) {
        const bool icon = e.format == PictureFormat::Icon;
        std::string line = std::string(e.resourceId ? e.resourceId : e.name) + (icon ? " ICON" : " BITMAP");
        line.resize(std::max<size_t>(line.size() + 1, 17), ' ');
        line += "\"images/" + std::string(e.file) + "\"";
        line.resize(std::max<size_t>(line.size() + 1, 43), ' ');
        std::string meaning = e.meaning;
        if (icon) meaning += ", 16/32/48 px";
        rc += line + "// " + meaning + "\n";
    }
    return rc;
}
