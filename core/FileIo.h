#pragma once
// Whole-file reading and safe replacement with wide path names, without the
// windowing system (the C runtime's wide functions on Windows, UTF-8 names
// elsewhere).
#include <cstddef>
#include <algorithm>
#include <cstdio>
#include <string>

// The form of a path that Windows opens beyond 260 characters: a long
// absolute path on a drive ("C:\...") or a server ("\\server\share\...")
// gets the "\\?\" prefix, with backslashes only, as that form takes every
// name literally. Short, relative and already prefixed paths come back as
// they are, and so do paths with "." or ".." steps, which only the short
// form resolves.
std::wstring extendedLengthPath(const std::wstring& path);

// Opens a file with a wide path name; mode as for fopen ("rb", "wb"). On
// Windows a long path is opened in its extended-length form.
std::FILE* openFile(const std::wstring& path, const char* mode);

// Reads at most maxBytes from the start of the file. False when it cannot
// be opened or read.
bool readFilePrefix(const std::wstring& path, size_t maxBytes, std::string& out);

// Writes data to a temporary file beside path, flushes it to the disk and
// only then puts it in place of path. On failure the old file stays as it was
// and the temporary file is removed.
bool replaceFileContents(const std::wstring& path, const std::string& data);

// Removes a file; true when it is gone afterwards (also when there was none).
bool removeFile(const std::wstring& path);
bool fileExists(const std::wstring& path);
