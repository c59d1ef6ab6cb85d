// kxm report in the portable build: the page is drawn by the diagram's
// Windows code, which this build does not have.
#include <cstdio>

#include "Kxm.h"

int runReport(const Args&) {
    std::fprintf(stderr, "kxm report: Berichte als PNG oder EMF schreibt nur kxm.exe, die Windows-Ausgabe von kxm\n");
    return 2;
}
