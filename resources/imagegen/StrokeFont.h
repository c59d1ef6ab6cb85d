#pragma once
// A small geometric stroke font: capitals, digits and the few lower-case
// letters and signs the pictures and the contact sheet need. Each glyph is a
// set of centre lines on a grid 10 units high (cap height; lower case has its
// x-height at 7), stroked at any width.

#include <string>

#include "Shapes.h"

struct TextStyle {
    double capHeight = 10;     // pixels
    double strokeWidth = 1.5;  // pixels
    double slant = 0;          // horizontal shift per pixel of height (0.2 leans right)
    double spacing = 0.16;     // gap between glyphs in cap heights, added to the stroke width
    Cap cap = Cap::Round;
};

// Outline of a line of text whose baseline starts at (x, baseline).
Path textPath(const std::string& utf8, double x, double baseline, const TextStyle& style);
double textWidth(const std::string& utf8, const TextStyle& style);
// Whether every character of the text has a glyph.
bool hasGlyphs(const std::string& utf8);
