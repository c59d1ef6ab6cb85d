#pragma once
// Measurement files ("*.kxm"): little-endian, identification "01XK"/"11XK"/
// "21XK" (versions 10, 11, 12), fixed header, length-prefixed comment,
// 32-bit revolution times and, in version 12, the lambda readings.
#include <cstdint>
#include <string>

#include "Measurement.h"

constexpr uint32_t kIdVersion10 = 0x4B583130;  // "KX10"
constexpr uint32_t kIdVersion11 = 0x4B583131;  // "KX11"
constexpr uint32_t kIdVersion12 = 0x4B583132;  // "KX12"

// What the reader needs from its surroundings: the circumference given to
// files of the oldest version, and who tells the user about that upgrade.
struct MeasurementReadContext {
    double wheel = 1.25;                       // Mechanics/Wheel
    void (*notice)(int textId, int captionId) = nullptr;  // e.g. IDS_OLD_FILE / IDS_UPDATE_INFO
};

// The context made from the program-wide settings and the notice handler
// the windowing layer installed (none in the tools).
MeasurementReadContext defaultReadContext();
void setMeasurementNoticeHandler(void (*notice)(int textId, int captionId));

// Reads a whole file into m. False when the file cannot be opened, is no
// measurement file, declares more than 16000 samples or ends before the data
// it declares; m is then left empty. version receives 10, 11 or 12.
bool readMeasurement(const std::wstring& path, Measurement& m, const MeasurementReadContext& context,
                     int* version = nullptr);
bool readMeasurement(const std::wstring& path, Measurement& m);

// Parses a file image already in memory (the fuzz target and the tests).
bool parseMeasurement(const unsigned char* data, size_t size, Measurement& m, const MeasurementReadContext& context,
                      int* version = nullptr);

// Writes m to m.fileName as version 12 (with lambda) or 11. The data goes to a
// temporary file in the same folder that replaces the target only once it is
// complete, so a failed write never destroys the previous file. Returns false
// when anything failed; modified is cleared only on success.
bool writeMeasurement(Measurement& m);

// The file image writeMeasurement produces.
std::string serializeMeasurement(const Measurement& m);
