#include "StringTable.h"

namespace {

struct StringRow {
    int id;
    const wchar_t* text;
};

const StringRow kStrings[] = {
#include "StringTable.inc"
};

}  // namespace

std::wstring portableText(int id) {
    for (const StringRow& row : kStrings)
        if (row.id == id) return row.text;
    return std::wstring();
}
