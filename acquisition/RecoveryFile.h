#pragma once
// The recovery file "Wiederherstellung.kxm" beside the program: from the end
// of a recording until the run is saved or dropped, the run also sits there
// as a measurement file, so that a program killed meanwhile (a crash, a
// power cut, a frozen file dialog ended by force) loses nothing. The next
// start finds it and asks what becomes of it.
#include <cstdint>
#include <string>

#include "Measurement.h"
#include "MeasurementRun.h"

constexpr wchar_t kRecoveryFileName[] = L"Wiederherstellung.kxm";

class RecoveryFile {
public:
    // `path` empty: no recovery file is kept (every operation does nothing).
    explicit RecoveryFile(std::wstring path = std::wstring()) : path_(std::move(path)) {}

    // Writes the run in the buffers, as the save would with `header`, with
    // the time the recording ended; replaces the file only once complete.
    bool keep(MeasurementRun& run, const MeasurementRun::Header& header, int32_t recordedAt);
    // The run was saved or dropped.
    void drop();

    bool exists() const;
    // The kept run; false when there is none or it cannot be read.
    bool read(Measurement& m) const;
    // Writes the kept run to `target` as it is (its recording time
    // included) and drops the recovery file once that has succeeded.
    bool saveAs(const std::wstring& target);

    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

// The date and time of a recovered run for the start-up question, in the
// style of the page's Time/Format: the format from its first conversion on,
// so that "erstellt am %d.%m.%Y um %H:%M Uhr" gives "%d.%m.%Y um %H:%M Uhr".
std::wstring recoveryDateFormat(const std::wstring& timeFormat);
