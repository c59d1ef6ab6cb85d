#include "DataExchange.h"

#include "Wnd.h"
#include "NumberText.h"

namespace {

constexpr int kNumberTextLength = 31;

void FillChoiceList(HWND combo, const std::wstring& items, uint16_t selected) {
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    size_t start = 0;
    for (;;) {
        size_t bar = items.find(L'|', start);
        std::wstring item = items.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start);
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        if (bar == std::wstring::npos) break;
        start = bar + 1;
    }
    SendMessageW(combo, CB_SETCURSEL, selected, 0);
}

}  // namespace

size_t ExchangeReal(ExchangeOp op, CWnd* dialog, double* field, int controlId) {
    switch (op) {
    case kExchangeSize:
        break;
    case kExchangeClear:
        *field = 0.0;
        break;
    case kExchangeLoad:
        SetDlgItemTextW(dialog->hwnd, controlId, formatDouble(*field).c_str());
        break;
    case kExchangeStore: {
        wchar_t text[kNumberTextLength + 1] = {};
        GetDlgItemTextW(dialog->hwnd, controlId, text, kNumberTextLength + 1);
        *field = parseDouble(std::wstring(text));
        break;
    }
    }
    return sizeof *field;
}

size_t ExchangeChoice(ExchangeOp op, CWnd* dialog, const std::wstring* items, int16_t* index, int controlId) {
    HWND combo = op == kExchangeLoad || op == kExchangeStore ? GetDlgItem(dialog->hwnd, controlId) : nullptr;
    if (op == kExchangeLoad && combo) {
        FillChoiceList(combo, items ? *items : std::wstring(), static_cast<uint16_t>(*index));
    } else if (op == kExchangeStore && combo) {
        LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
        if (selected != CB_ERR) *index = static_cast<int16_t>(static_cast<uint16_t>(selected));
    }
    return sizeof items + sizeof *index;
}

size_t ExchangeText(ExchangeOp op, CWnd* dialog, std::wstring* field, int controlId) {
    switch (op) {
    case kExchangeSize:
        break;
    case kExchangeClear:
        std::wstring().swap(*field);
        break;
    case kExchangeLoad:
        SetDlgItemTextW(dialog->hwnd, controlId, field->c_str());
        break;
    case kExchangeStore: {
        HWND control = GetDlgItem(dialog->hwnd, controlId);
        int length = control ? GetWindowTextLengthW(control) : 0;
        std::wstring text(length + 1, L'\0');
        int read = control ? GetWindowTextW(control, &text[0], length + 1) : 0;
        text.resize(read > 0 ? read : 0);
        field->swap(text);
        break;
    }
    }
    return sizeof *field;
}

size_t ExchangeInteger(ExchangeOp op, CWnd* dialog, int16_t* field, int controlId) {
    switch (op) {
    case kExchangeSize:
        break;
    case kExchangeClear:
        *field = 0;
        break;
    case kExchangeLoad:
        SetDlgItemInt(dialog->hwnd, controlId, static_cast<uint16_t>(*field), FALSE);
        break;
    case kExchangeStore: {
        BOOL isNumber = FALSE;
        UINT value = GetDlgItemInt(dialog->hwnd, controlId, &isNumber, TRUE);
        *field = isNumber ? static_cast<int16_t>(static_cast<uint16_t>(value)) : 0;
        break;
    }
    }
    return sizeof *field;
}

size_t ExchangeSignedInteger(ExchangeOp op, CWnd* dialog, int16_t* field, int controlId) {
    if (op != kExchangeLoad) return ExchangeInteger(op, dialog, field, controlId);
    SetDlgItemInt(dialog->hwnd, controlId, static_cast<UINT>(static_cast<int>(*field)), TRUE);
    return sizeof *field;
}

size_t ExchangeCheck(ExchangeOp op, CWnd* dialog, int16_t* field, int controlId) {
    switch (op) {
    case kExchangeSize:
        break;
    case kExchangeClear:
        *field = 0;
        break;
    case kExchangeLoad:
        CheckDlgButton(dialog->hwnd, controlId, static_cast<uint16_t>(*field));
        break;
    case kExchangeStore:
        *field = IsDlgButtonChecked(dialog->hwnd, controlId) == BST_CHECKED ? 1 : 0;
        break;
    }
    return sizeof *field;
}

// Signed and unsigned 16-bit fields share their storage rules.
size_t ExchangeChoice(ExchangeOp op, CWnd* dialog, const std::wstring* items, uint16_t* index, int controlId) {
    return ExchangeChoice(op, dialog, items, reinterpret_cast<int16_t*>(index), controlId);
}

size_t ExchangeInteger(ExchangeOp op, CWnd* dialog, uint16_t* field, int controlId) {
    return ExchangeInteger(op, dialog, reinterpret_cast<int16_t*>(field), controlId);
}

size_t ExchangeCheck(ExchangeOp op, CWnd* dialog, uint16_t* field, int controlId) {
    return ExchangeCheck(op, dialog, reinterpret_cast<int16_t*>(field), controlId);
}
