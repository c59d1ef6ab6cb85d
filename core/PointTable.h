#pragma once
// The evaluation points of a measurement as a table, one row per point:
// index, time, road speed, engine speed, distance, torque, power in kW and
// PS, and the A/F reading, under the German titles the diagram gives its
// axes. kxm export prints it; the diagram's export writes it for every
// measurement of a window, with the file name in front.
#include <string>
#include <vector>

#include "EvaluationCursor.h"

struct PointTableStyle {
    char separator = '\t';
    char decimalPoint = '.';
};

// Tab-separated, or CSV: comma, or for German spreadsheets semicolon and
// decimal comma; a German table without CSV keeps its tabs.
PointTableStyle pointTableStyle(bool csv, bool german);

// The header row (UTF-8), with a first column "Datei" when asked for.
std::string pointTableHeader(const PointTableStyle& style, bool withFileName);

// One row per evaluation point of `m`, with the cursor's options; the
// measurement must have been evaluated with them. A file name given goes
// into a first column of every row.
std::vector<std::string> pointTableRows(EvaluationCursor& cursor, Measurement& m, const PointTableStyle& style,
                                        const std::wstring* fileName = nullptr);

// A field quoted where the separator, a quote or a line break would split it.
std::string pointTableField(const std::string& text, char separator);
