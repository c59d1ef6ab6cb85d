#pragma once
// UTF-8 text for the tools' output and for file names on Linux. wchar_t is
// UTF-16 on Windows and UTF-32 elsewhere; both are handled.
#include <string>

std::string toUtf8(const std::wstring& text);
std::wstring fromUtf8(const std::string& text);
