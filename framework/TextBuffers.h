#pragma once
// Eight rotating scratch buffers of 256 wide characters for short texts
// (messages, labels, list items). Each request hands out the next buffer, so a
// text stays valid until eight further requests; copy what must live longer.
#include <windows.h>

// The next scratch buffer, emptied.
wchar_t* NextTextBuffer();

// The string-table text of `id` (at most 255 characters; empty when missing).
wchar_t* LoadText(UINT id);

// A narrow text in the current ANSI code page, widened.
wchar_t* WidenText(const char* text);

// A copy of `text` (at most 255 characters) that may be cut up in place.
wchar_t* CopyText(const wchar_t* text);
