#pragma once
// A raw capture of the controller's byte stream, from a file or ("-")
// standard input, as dynosim --write-raw writes it.
#include <string>

// False when it cannot be read or exceeds 256 MiB.
bool readCapture(const std::wstring& path, std::string& out);
