#pragma once
// Dialog data exchange: a dialog lists the fields of its caller's data record
// in its Exchange, one field exchanger call per field in record order. Each
// exchanger moves its field between the record and one control and answers
// the size of its field in bytes, so a walk with kExchangeSize adds up the
// size of what the dialog exchanges (0: the dialog has no fields).
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

class CWnd;

enum ExchangeOp {
    kExchangeSize = 0,   // only count; neither the record nor the controls are touched
    kExchangeClear = 1,  // reset the field (texts are emptied)
    kExchangeLoad = 2,   // record -> controls
    kExchangeStore = 3,  // controls -> record
};

// 64-bit real: shown in the program's double format ("1.", "5.e-002"); the
// leading number of the control text (at most 31 characters, decimal point)
// is stored, 0 when there is none.
size_t ExchangeReal(ExchangeOp op, CWnd* dialog, double* field, int controlId);

// Choice: the item list ("a|b|c") and the selected index. Load fills the
// combo box with the items and selects the index; store reads the selection
// (an empty selection leaves the field as it was); clear leaves it alone.
size_t ExchangeChoice(ExchangeOp op, CWnd* dialog, const std::wstring* items, int16_t* index, int controlId);

// Owned text: shown as is, stored whole (any length).
size_t ExchangeText(ExchangeOp op, CWnd* dialog, std::wstring* field, int controlId);

// 16-bit integer, shown unsigned (0..65535, so -5 shows as 65531) and read
// back as a signed decimal number truncated to 16 bits; no number gives 0.
size_t ExchangeInteger(ExchangeOp op, CWnd* dialog, int16_t* field, int controlId);

// 16-bit integer shown signed (-32768..32767, so 65531 shows as -5), read
// back as ExchangeInteger does: for values below zero such as temperatures.
size_t ExchangeSignedInteger(ExchangeOp op, CWnd* dialog, int16_t* field, int controlId);

// Check box state 0 or 1.
size_t ExchangeCheck(ExchangeOp op, CWnd* dialog, int16_t* field, int controlId);

// The same for records that keep these fields unsigned.
size_t ExchangeChoice(ExchangeOp op, CWnd* dialog, const std::wstring* items, uint16_t* index, int controlId);
size_t ExchangeInteger(ExchangeOp op, CWnd* dialog, uint16_t* field, int controlId);
size_t ExchangeCheck(ExchangeOp op, CWnd* dialog, uint16_t* field, int controlId);
