#pragma once
// CIndicator: a signal lamp of the measurement dialog ("Schlupf",
// "Übertragung"). A rounded, etched field with its caption: grey when off,
// red with yellow text when on. Range 0..1; any value above 1 lights it.
#include "Instr.h"

class CIndicator : public CInstr {
public:
    // Draws straight onto the paint context: the lamp is small and only
    // repaints when it changes.
    int Paint(CDC* dc) override;
};
