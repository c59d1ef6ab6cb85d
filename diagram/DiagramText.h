#pragma once
// The texts of the diagram: scaled numbers, the items of choice lists, the
// names and units of the quantities, and the cursor read-out of the status
// bar. All of them come from the string table; none depends on the locale.
#include <cstdint>
#include <string>

struct EvaluationOptions;

// A scaled integer as text: with decimals ≥ 1 the point is put before the
// last 'decimals' digits ((1, 5) "0.5", (2, -5) "-0.05"); 0 gives the plain
// integer; -1 the value truncated toward zero to tens ((−1, 6123) "6120");
// any other count "???".
std::wstring FormatScaled(int decimals, int32_t value);

// The n-th '|'-separated item of a choice list; "Fehler" (40018) when the
// list is missing or has no such item.
std::wstring ChoiceItem(const std::wstring* items, int index);

// Name, unit and decimals of a quantity as the axes show them: quantity 9
// (the lambda reading) is "A/F" with one decimal; rows 7 and 8 have the
// decimals of their power side.
std::wstring QuantityName(int q);
std::wstring QuantityUnit(int q);
int QuantityDecimals(int q);

// "%s [%s]" of name and unit: the item texts of the axis combo boxes.
std::wstring QuantityLabel(int q);

// "Glättung mittel": the chosen smoothing as the axis titles name it, the
// item of the choice list up to its window in brackets; empty without
// smoothing.
std::wstring SmoothingName(const EvaluationOptions& options);
