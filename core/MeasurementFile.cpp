#include "MeasurementFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "FileIo.h"
#include "Settings.h"
#include "resource.h"

namespace {

void (*gNoticeHandler)(int, int) = nullptr;

class Reader {
public:
    Reader(const unsigned char* data, size_t size) : data_(data), size_(size) {}
    bool has(size_t n) const { return size_ - pos_ >= n; }
    uint16_t u16() {
        const uint16_t v = uint16_t(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return v;
    }
    uint32_t u32() {
        const uint32_t v = uint32_t(data_[pos_]) | uint32_t(data_[pos_ + 1]) << 8 | uint32_t(data_[pos_ + 2]) << 16 |
                           uint32_t(data_[pos_ + 3]) << 24;
        pos_ += 4;
        return v;
    }
    double f64() {
        const uint64_t lo = u32();
        const uint64_t hi = u32();
        const uint64_t bits = lo | hi << 32;
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    uint8_t u8() { return data_[pos_++]; }
    void skip(size_t n) { pos_ += n; }

private:
    const unsigned char* data_;
    size_t size_;
    size_t pos_ = 0;
};

void putU16(std::string& out, uint16_t v) {
    out += char(v & 0xFF);
    out += char(v >> 8);
}
void putU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += char((v >> (8 * i)) & 0xFF);
}
void putF64(std::string& out, double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    putU32(out, uint32_t(bits));
    putU32(out, uint32_t(bits >> 32));
}

// Largest possible file: 42-byte header, 65535-byte comment, 16000 × 8 bytes.
constexpr size_t kMaxFileSize = 42 + 65535 + 8 * size_t(kMaxSamples);

}  // namespace

void setMeasurementNoticeHandler(void (*notice)(int, int)) { gNoticeHandler = notice; }

MeasurementReadContext defaultReadContext() {
    MeasurementReadContext context;
    context.wheel = theSettings().mechanicsWheel;
    context.notice = gNoticeHandler;
    return context;
}

bool parseMeasurement(const unsigned char* data, size_t size, Measurement& out, const MeasurementReadContext& context,
                      int* version) {
    out = Measurement();
    Reader r(data, size);
    if (!r.has(4)) return false;
    int fileVersion = 0;
    switch (r.u32()) {
    case kIdVersion10: fileVersion = 10; break;
    case kIdVersion11: fileVersion = 11; break;
    case kIdVersion12: fileVersion = 12; break;
    default: return false;
    }

    Measurement m;
    if (!r.has(28)) return false;
    m.sampleCount = r.u16();
    m.temperature = static_cast<int16_t>(r.u16());
    m.pressure = r.u16();
    m.humidity = r.u16();
    m.gearRatio = r.f64();
    m.recordedAt = int32_t(r.u32());
    m.inertia = r.f64();
    if (m.sampleCount > kMaxSamples) return false;

    if (fileVersion == 10) {
        if (!r.has(2)) return false;
        r.skip(2);
        m.circumference = context.wheel;
    } else {
        if (!r.has(8)) return false;
        m.circumference = r.f64();
    }

    if (!r.has(2)) return false;
    const uint16_t n = r.u16();
    if (!r.has(n)) return false;
    m.comment.reserve(n);
    for (uint16_t i = 0; i < n; ++i) {
        const uint8_t c = r.u8();
        if (c == 0) {  // the text ends at its terminator whatever n says
            r.skip(size_t(n) - i - 1);
            break;
        }
        m.comment += wchar_t(c);
    }

    const size_t channelBytes = size_t(m.sampleCount) * 4;
    if (!r.has(fileVersion == 12 ? 2 * channelBytes : channelBytes)) return false;
    m.times.resize(m.sampleCount);
    for (auto& t : m.times) t = int32_t(r.u32());
    if (fileVersion == 12) {
        std::vector<int32_t> lambda(m.sampleCount);
        for (auto& l : lambda) l = int32_t(r.u32());
        m.lambdaValues = std::move(lambda);
    }

    if (fileVersion == 10) m.modified = 1;
    out = std::move(m);
    if (version) *version = fileVersion;
    return true;
}

bool readMeasurement(const std::wstring& path, Measurement& m, const MeasurementReadContext& context, int* version) {
    m = Measurement();
    std::string image;
    if (!readFilePrefix(path, kMaxFileSize, image)) return false;
    int fileVersion = 0;
    if (!parseMeasurement(reinterpret_cast<const unsigned char*>(image.data()), image.size(), m, context,
                          &fileVersion))
        return false;
    m.fileName = path;
    if (version) *version = fileVersion;
    if (fileVersion == 10 && context.notice) context.notice(IDS_OLD_FILE, IDS_UPDATE_INFO);
    return true;
}

bool readMeasurement(const std::wstring& path, Measurement& m) {
    return readMeasurement(path, m, defaultReadContext());
}

std::string serializeMeasurement(const Measurement& m) {
    std::string out;
    const bool lambda = m.hasLambda();
    out.reserve(42 + m.comment.size() + 1 + m.times.size() * (lambda ? 8 : 4));
    putU32(out, lambda ? kIdVersion12 : kIdVersion11);
    putU16(out, m.sampleCount);
    putU16(out, static_cast<uint16_t>(m.temperature));
    putU16(out, m.pressure);
    putU16(out, m.humidity);
    putF64(out, m.gearRatio);
    putU32(out, uint32_t(m.recordedAt));
    putF64(out, m.inertia);
    putF64(out, m.circumference);
    // one byte per character; the format holds only the first 256 code points,
    // anything beyond becomes '?'; the length field has 16 bits
    const size_t chars = std::min<size_t>(m.comment.size(), 65534);
    putU16(out, uint16_t(chars + 1));
    for (size_t i = 0; i < chars; ++i) {
        const uint32_t c = uint32_t(m.comment[i]);
        out += c == 0 ? '?' : c > 0xFF ? '?' : char(c);
    }
    out += '\0';
    for (uint16_t i = 0; i < m.sampleCount; ++i) putU32(out, uint32_t(i < m.times.size() ? m.times[i] : 0));
    if (lambda)
        for (uint16_t i = 0; i < m.sampleCount; ++i)
            putU32(out, uint32_t(i < m.lambdaValues->size() ? (*m.lambdaValues)[i] : 0));
    return out;
}

bool writeMeasurement(Measurement& m) {
    if (!replaceFileContents(m.fileName, serializeMeasurement(m))) return false;
    m.modified = 0;
    return true;
}
