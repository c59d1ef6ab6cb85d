#pragma once
// The kxm companion tool: one function per subcommand. Each takes the
// arguments after the subcommand name and returns the exit status
// (0 success, 2 bad usage or a file that is no measurement file).
#include <string>
#include <vector>

using Args = std::vector<std::wstring>;

int runInfo(const Args& args);
int runConvert(const Args& args);
int runEval(const Args& args);
int runExport(const Args& args);
int runDecode(const Args& args);
// A capture replayed through the measurement dialog's recording into a file.
int runRecord(const Args& args);
// The printed page of up to seven files as PNG or EMF; only kxm.exe draws
// it, the portable build refuses.
int runReport(const Args& args);

// Shared by the subcommands.
int usageError(const char* usage);               // prints usage on stderr, returns 2
int fileFormatError(const std::wstring& path);   // "Falsches Dateiformat: PATH", returns 2
void printLine(const std::string& utf8);         // one line on stdout
// A whole decimal number within [low, high] (at most 11 characters).
bool parseInteger(const std::wstring& text, long long low, long long high, int& out);
