#pragma once
// Pictures as file contents: a bitmap encoded by the system's own GDI+ PNG
// encoder, and an enhanced metafile's bytes. Both answer false (and leave
// `bytes` empty) when the system cannot make them.
#include <windows.h>

#include <string>

// The bitmap as a PNG file, stating `dpi` pixels per inch.
bool EncodePng(HBITMAP bitmap, int dpi, std::string& bytes);

// The metafile's bytes as an .emf file holds them.
bool MetafileBytes(HENHMETAFILE metafile, std::string& bytes);
