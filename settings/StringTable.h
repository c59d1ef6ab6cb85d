#pragma once
// The string table of resources/strings.rc, compiled into the portable code so
// that the tools and the portable layer speak the program's own German texts.
// The window layers load the same texts from the resources.
#include <string>

// The text of string id, or an empty text for an unknown id.
std::wstring portableText(int id);
