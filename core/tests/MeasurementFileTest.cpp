#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "FileIo.h"
#include "MeasurementFile.h"
#include "Utf8.h"

namespace {

std::wstring tempFile(const char* name) { return fromUtf8(std::string(::testing::TempDir()) + name); }

std::string readAll(const std::wstring& path) {
    std::string data;
    readFilePrefix(path, 1 << 24, data);
    return data;
}

void writeAll(const std::wstring& path, const std::string& data) {
    std::FILE* f = openFile(path, "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(data.data(), 1, data.size(), f);
    std::fclose(f);
}

Measurement sampleRun(bool lambda) {
    Measurement m;
    m.temperature = 21;
    m.pressure = 1002;
    m.humidity = 48;
    m.gearRatio = 3.0625;
    m.recordedAt = 1700000000;
    m.inertia = 7.05;
    m.circumference = 1.25;
    m.comment = L"Golf GTI, 4. Gang, Ölwechsel";
    m.times = {100000, 200000, 290000, 370000, 440000};
    m.sampleCount = uint16_t(m.times.size());
    if (lambda) m.lambdaValues = std::vector<int32_t>{147, 140, 128, 125, -3};
    return m;
}

// A version-10 file image: 30-byte header without circumference.
std::string version10Image(const std::string& comment, const std::vector<int32_t>& times) {
    Measurement m = sampleRun(false);
    m.times = times;
    m.sampleCount = uint16_t(times.size());
    m.comment = fromUtf8(comment);
    std::string v11 = serializeMeasurement(m);
    std::string v10 = v11.substr(0, 32) + std::string("\x12\x34", 2) + v11.substr(40);
    v10[0] = '0';
    return v10;
}

int gNotices = 0;
long long gLastNotice = 0;
void countNotice(int text, int caption) {
    ++gNotices;
    gLastNotice = text * 100000LL + caption;
}

}  // namespace

TEST(MeasurementFile, EmptyVersion11FileIs43Bytes) {
    Measurement m;
    m.fileName = tempFile("kx_empty.kxm");
    ASSERT_TRUE(writeMeasurement(m));
    const std::string image = readAll(m.fileName);
    ASSERT_EQ(image.size(), 43u);
    EXPECT_EQ(image.substr(0, 4), "11XK");
    EXPECT_EQ(image[40], 1);   // comment length 1 ...
    EXPECT_EQ(image[42], 0);   // ... a single terminator
    Measurement back;
    int version = 0;
    ASSERT_TRUE(readMeasurement(m.fileName, back, MeasurementReadContext(), &version));
    EXPECT_EQ(version, 11);
    EXPECT_EQ(back.sampleCount, 0);
    EXPECT_TRUE(back.times.empty());
    EXPECT_FALSE(back.hasLambda());
    EXPECT_EQ(back.comment, L"");
    EXPECT_EQ(back.fileName, m.fileName);
    std::remove(toUtf8(m.fileName).c_str());
}

TEST(MeasurementFile, RoundTripsVersions11And12) {
    for (bool lambda : {false, true}) {
        Measurement m = sampleRun(lambda);
        m.fileName = tempFile(lambda ? "kx_v12.kxm" : "kx_v11.kxm");
        m.modified = 1;
        ASSERT_TRUE(writeMeasurement(m));
        EXPECT_EQ(m.modified, 0);
        const std::string image = readAll(m.fileName);
        const size_t n = m.comment.size() + 1;
        EXPECT_EQ(image.size(), 42 + n + (lambda ? 8u : 4u) * m.sampleCount);
        EXPECT_EQ(image[0], lambda ? '2' : '1');

        Measurement back;
        int version = 0;
        ASSERT_TRUE(readMeasurement(m.fileName, back, MeasurementReadContext(), &version));
        EXPECT_EQ(version, lambda ? 12 : 11);
        EXPECT_EQ(back.temperature, 21);
        EXPECT_EQ(back.pressure, 1002);
        EXPECT_EQ(back.humidity, 48);
        EXPECT_EQ(back.gearRatio, 3.0625);
        EXPECT_EQ(back.recordedAt, 1700000000);
        EXPECT_EQ(back.inertia, 7.05);
        EXPECT_EQ(back.circumference, 1.25);
        EXPECT_EQ(back.comment, m.comment);
        EXPECT_EQ(back.times, m.times);
        EXPECT_EQ(back.hasLambda(), lambda);
        if (lambda) {
            EXPECT_EQ(*back.lambdaValues, *m.lambdaValues);
        }
        EXPECT_EQ(back.modified, 0);
        std::remove(toUtf8(m.fileName).c_str());
    }
}

TEST(MeasurementFile, HeaderBytesSitAtTheirOffsets) {
    Measurement m = sampleRun(false);
    const std::string image = serializeMeasurement(m);
    auto u16 = [&](size_t o) { return unsigned((unsigned char)image[o] | (unsigned char)image[o + 1] << 8); };
    EXPECT_EQ(u16(4), 5u);
    EXPECT_EQ(u16(6), 21u);
    EXPECT_EQ(u16(8), 1002u);
    EXPECT_EQ(u16(10), 48u);
    double gear, inertia, wheel;
    std::memcpy(&gear, image.data() + 12, 8);
    std::memcpy(&inertia, image.data() + 24, 8);
    std::memcpy(&wheel, image.data() + 32, 8);
    EXPECT_EQ(gear, 3.0625);
    EXPECT_EQ(inertia, 7.05);
    EXPECT_EQ(wheel, 1.25);
    int32_t when;
    std::memcpy(&when, image.data() + 20, 4);
    EXPECT_EQ(when, 1700000000);
    EXPECT_EQ(u16(40), m.comment.size() + 1);
}

TEST(FileIo, LongAbsolutePathsTakeTheExtendedLengthForm) {
    const std::wstring folder(250, L'x');
    const struct {
        std::wstring path, expected;
    } cases[] = {
        {L"C:\\Messungen\\Kunde-0001.kxm", L"C:\\Messungen\\Kunde-0001.kxm"},  // short
        {L"C:\\" + folder + L"\\a.kxm", L"\\\\?\\C:\\" + folder + L"\\a.kxm"},
        {L"d:/" + folder + L"/a.kxm", L"\\\\?\\d:\\" + folder + L"\\a.kxm"},
        {L"\\\\server\\share\\" + folder, L"\\\\?\\UNC\\server\\share\\" + folder},
        {L"\\\\?\\C:\\" + folder, L"\\\\?\\C:\\" + folder},       // already prefixed
        {L"\\\\.\\C:\\" + folder, L"\\\\.\\C:\\" + folder},       // device form
        {folder + L"\\a.kxm", folder + L"\\a.kxm"},                     // relative
        {L"C:\\" + folder + L"\\..\\a.kxm", L"C:\\" + folder + L"\\..\\a.kxm"},  // only the short form resolves ..
        {L"C:" + folder, L"C:" + folder},                                // relative to the drive's folder
    };
    for (const auto& c : cases) EXPECT_EQ(extendedLengthPath(c.path), c.expected) << toUtf8(c.path).substr(0, 30);
}

TEST(MeasurementFile, FrostKeepsItsSixteenBitsAndReadsBackSigned) {
    for (int16_t t : {int16_t(-5), int16_t(-32768), int16_t(32767)}) {
        Measurement m = sampleRun(false);
        m.temperature = t;
        const std::string image = serializeMeasurement(m);
        EXPECT_EQ(unsigned((unsigned char)image[6] | (unsigned char)image[7] << 8), uint16_t(t)) << t;
        Measurement back;
        ASSERT_TRUE(parseMeasurement(reinterpret_cast<const unsigned char*>(image.data()), image.size(), back,
                                     MeasurementReadContext()));
        EXPECT_EQ(back.temperature, t);
    }
}

TEST(MeasurementFile, Version10IsUpgradedWithTheWheelSetting) {
    const std::wstring path = tempFile("kx_v10.kxm");
    const std::string image = version10Image("alt", {1000, 2000, 3000});
    EXPECT_EQ(image.size(), 36u + 4 + 4 * 3);
    writeAll(path, image);

    MeasurementReadContext context;
    context.wheel = 1.5;
    context.notice = countNotice;
    gNotices = 0;
    Measurement m;
    int version = 0;
    ASSERT_TRUE(readMeasurement(path, m, context, &version));
    EXPECT_EQ(version, 10);
    EXPECT_EQ(gNotices, 1);
    EXPECT_EQ(gLastNotice, 40031LL * 100000 + 40014);
    EXPECT_EQ(m.circumference, 1.5);
    EXPECT_EQ(m.inertia, 7.05);
    EXPECT_EQ(m.modified, 1);
    EXPECT_EQ(m.comment, L"alt");
    EXPECT_EQ(m.times, (std::vector<int32_t>{1000, 2000, 3000}));

    // saving yields version 11 with the new circumference
    ASSERT_TRUE(writeMeasurement(m));
    Measurement back;
    ASSERT_TRUE(readMeasurement(path, back, MeasurementReadContext(), &version));
    EXPECT_EQ(version, 11);
    EXPECT_EQ(back.circumference, 1.5);
    EXPECT_EQ(back.modified, 0);
    std::remove(toUtf8(path).c_str());
}

TEST(MeasurementFile, RefusesForeignAndTruncatedFiles) {
    Measurement good = sampleRun(true);
    const std::string image = serializeMeasurement(good);
    MeasurementReadContext context;
    // every proper prefix of a valid file is refused and leaves nothing behind
    for (size_t len = 0; len < image.size(); ++len) {
        Measurement m = sampleRun(false);
        EXPECT_FALSE(parseMeasurement(reinterpret_cast<const unsigned char*>(image.data()), len, m, context))
            << "length " << len;
        EXPECT_EQ(m.sampleCount, 0);
        EXPECT_TRUE(m.times.empty());
        EXPECT_TRUE(m.comment.empty());
    }
    const std::string v10 = version10Image("x", {1, 2});
    for (size_t len = 0; len < v10.size(); ++len) {
        Measurement m;
        EXPECT_FALSE(parseMeasurement(reinterpret_cast<const unsigned char*>(v10.data()), len, m, context));
    }
    for (const char* id : {"31XK", "11xk", "KX11", "\0\0\0\0"}) {
        std::string bad = image;
        bad.replace(0, 4, id, 4);
        Measurement m;
        EXPECT_FALSE(parseMeasurement(reinterpret_cast<const unsigned char*>(bad.data()), bad.size(), m, context));
    }
    Measurement m;
    EXPECT_FALSE(readMeasurement(tempFile("kx_does_not_exist.kxm"), m, context));
    EXPECT_TRUE(m.fileName.empty());
}

TEST(MeasurementFile, RefusesMoreThan16000Samples) {
    Measurement big;
    big.times.assign(16001, 0);
    big.sampleCount = 16001;
    const std::string image = serializeMeasurement(big);
    Measurement m;
    EXPECT_FALSE(parseMeasurement(reinterpret_cast<const unsigned char*>(image.data()), image.size(), m,
                                  MeasurementReadContext()));
    big.times.assign(16000, 7);
    big.sampleCount = 16000;
    const std::string ok = serializeMeasurement(big);
    EXPECT_TRUE(parseMeasurement(reinterpret_cast<const unsigned char*>(ok.data()), ok.size(), m,
                                 MeasurementReadContext()));
    EXPECT_EQ(m.times.size(), 16000u);
}

TEST(MeasurementFile, CommentsWithoutTerminatorOrLength) {
    Measurement m = sampleRun(false);
    m.comment = L"";
    std::string image = serializeMeasurement(m);  // n = 1, then "\0"
    // n = 0: no comment bytes at all
    std::string zero = image.substr(0, 40) + std::string("\0\0", 2) + image.substr(43);
    Measurement a;
    ASSERT_TRUE(parseMeasurement(reinterpret_cast<const unsigned char*>(zero.data()), zero.size(), a,
                                 MeasurementReadContext()));
    EXPECT_EQ(a.comment, L"");
    EXPECT_EQ(a.times, m.times);
    // n = 3 without a zero byte
    std::string open = image.substr(0, 40) + std::string("\x03\x00" "abc", 5) + image.substr(43);
    Measurement b;
    ASSERT_TRUE(parseMeasurement(reinterpret_cast<const unsigned char*>(open.data()), open.size(), b,
                                 MeasurementReadContext()));
    EXPECT_EQ(b.comment, L"abc");
    EXPECT_EQ(b.times, m.times);
    // bytes above 0x7F are Latin-1 characters
    std::string latin = image.substr(0, 40) + std::string("\x03\x00\xd6l\x00", 5) + image.substr(43);
    Measurement c;
    ASSERT_TRUE(parseMeasurement(reinterpret_cast<const unsigned char*>(latin.data()), latin.size(), c,
                                 MeasurementReadContext()));
    EXPECT_EQ(c.comment, L"Öl");
}

TEST(MeasurementFile, CharactersBeyondLatin1AreWrittenAsQuestionMarks) {
    Measurement m = sampleRun(false);
    m.comment = L"5 \u20ac \u00e4";
    const std::string image = serializeMeasurement(m);
    EXPECT_EQ(image.substr(42, 6), std::string("5 ? \xe4\0", 6));
}

TEST(MeasurementFile, FailedWriteKeepsTheOldFileAndReportsIt) {
    Measurement m = sampleRun(false);
    m.fileName = tempFile("kx_no_such_folder/run.kxm");
    m.modified = 1;
    EXPECT_FALSE(writeMeasurement(m));
    EXPECT_EQ(m.modified, 1);

    const std::wstring path = tempFile("kx_replace.kxm");
    writeAll(path, "previous contents");
    m.fileName = path;
    ASSERT_TRUE(writeMeasurement(m));
    EXPECT_EQ(readAll(path), serializeMeasurement(m));
    EXPECT_TRUE(readAll(path + L".tmp~").empty());  // no temporary file left behind
    std::remove(toUtf8(path).c_str());
}

TEST(MeasurementHeader, WritingBackMarksOnlyRealChanges) {
    Measurement m = sampleRun(false);
    MeasurementHeader h = copyHeader(m);
    EXPECT_FALSE(applyHeader(m, h));
    EXPECT_EQ(m.modified, 0);
    h.comment += L"!";
    EXPECT_TRUE(applyHeader(m, h));
    EXPECT_EQ(m.modified, 1);
    EXPECT_EQ(m.comment, h.comment);

    m.modified = 0;
    h = copyHeader(m);
    h.gearRatio = -0.0;
    m.gearRatio = 0.0;
    EXPECT_TRUE(applyHeader(m, h));  // compared bit for bit
}
