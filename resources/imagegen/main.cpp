// imagegen: draws every icon and bitmap of kaltrenox.exe.
//
//   imagegen DIR                writes DIR/images/*.ico, *.bmp and DIR/images.rc
//   imagegen DIR --sheet FILE   also writes the contact sheet FILE (PNG)
//
// Run with DIR = resources to refresh the committed pictures.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "Pictures.h"

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && std::strcmp(argv[2], "--sheet") == 0)) {
        std::fprintf(stderr, "usage: imagegen DIR [--sheet FILE.png]\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(dir / "images", ec);
    int failures = 0;
    for (const PictureEntry& e : pictureCatalogue()) {
        const std::string path = (dir / "images" / e.file).string();
        if (!writeFile(path, encodePicture(e))) {
            std::fprintf(stderr, "imagegen: cannot write %s\n", path.c_str());
            ++failures;
        }
    }
    const std::string script = resourceScript();
    const std::string rcPath = (dir / "images.rc").string();
    if (!writeFile(rcPath, Bytes(script.begin(), script.end()))) {
        std::fprintf(stderr, "imagegen: cannot write %s\n", rcPath.c_str());
        ++failures;
    }
    if (argc == 4) {
        const std::filesystem::path sheet = argv[3];
        if (sheet.has_parent_path()) std::filesystem::create_directories(sheet.parent_path(), ec);
        if (!writeFile(sheet.string(), encodePng(makeContactSheet()))) {
            std::fprintf(stderr, "imagegen: cannot write %s\n", sheet.string().c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
