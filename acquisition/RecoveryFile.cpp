#include "RecoveryFile.h"

#include "FileIo.h"
#include "MeasurementFile.h"

bool RecoveryFile::keep(MeasurementRun& run, const MeasurementRun::Header& header, int32_t recordedAt) {
    if (path_.empty()) return false;
    return run.write(path_, recordedAt, header);
}

void RecoveryFile::drop() {
    if (!path_.empty()) removeFile(path_);
}

bool RecoveryFile::exists() const {
    return fileExists(path_);
}

bool RecoveryFile::read(Measurement& m) const {
    // the oldest file version never comes from here: no notice to show
    MeasurementReadContext context = defaultReadContext();
    context.notice = nullptr;
    return exists() && readMeasurement(path_, m, context);
}

bool RecoveryFile::saveAs(const std::wstring& target) {
    Measurement m;
    if (target.empty() || !read(m)) return false;
    m.fileName = target;
    if (!writeMeasurement(m)) return false;
    drop();
    return true;
}

std::wstring recoveryDateFormat(const std::wstring& timeFormat) {
    const size_t conversion = timeFormat.find(L'%');
    return conversion == std::wstring::npos ? timeFormat : timeFormat.substr(conversion);
}
