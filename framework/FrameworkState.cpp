#include "FrameworkState.h"

FrameworkState& theFramework() {
    static FrameworkState state;
    return state;
}

void FrameworkStart(HINSTANCE instance) {
    FrameworkState& fw = theFramework();
    if (instance) fw.instance = instance;
    WindowPropertyAtom();
}

void FrameworkEnd() {
    FrameworkState& fw = theFramework();
    if (fw.propertyAtom) {
        GlobalDeleteAtom(fw.propertyAtom);
        fw.propertyAtom = 0;
    }
    if (fw.printerDevNames) GlobalFree(fw.printerDevNames);
    if (fw.printerDevMode) GlobalFree(fw.printerDevMode);
    fw.printerDevNames = nullptr;
    fw.printerDevMode = nullptr;
    fw.mainWindow = nullptr;
}

HINSTANCE FrameworkInstance() {
    FrameworkState& fw = theFramework();
    if (!fw.instance) fw.instance = GetModuleHandleW(nullptr);
    return fw.instance;
}

ATOM WindowPropertyAtom() {
    FrameworkState& fw = theFramework();
    if (!fw.propertyAtom) fw.propertyAtom = GlobalAddAtomW(L"AWinThis");
    return fw.propertyAtom;
}
