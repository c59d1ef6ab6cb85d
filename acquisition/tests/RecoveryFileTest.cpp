// The recovery file of a finished run: it holds what the save writes (the
// recording time aside), a save of it is the same file under another name
// and removes it, a failed save keeps it; and the date of the start-up
// question.
#include <gtest/gtest.h>

#include <string>

#include "FileIo.h"
#include "MeasurementFile.h"
#include "ProtocolTestSupport.h"
#include "RecoveryFile.h"
#include "Utf8.h"

namespace {

// A lambda run of 300 revolutions through the real decoder, ended by its
// duration limit.
struct EndedRun {
    Settings settings;
    LiveValues live;
    double estimate = 0.0;
    MeasurementRun run{live, settings, estimate};
    FrameDecoder decoder{live, settings};

    EndedRun() {
        decoder.setRun(&run, &run);
        decoder.selectDevice(1);
        settings.weatherTemperature = 21;
        settings.weatherPressure = 987;
        settings.weatherHumidity = 55;
        settings.recordGear = 2.986;
        settings.recordComment = L"Kunde 0001, 3. Gang";
        settings.recordPeriod = 1;
        settings.recordStartMode = 1;
        settings.recordStartVal = 0;
        run.allocate();
        run.startWaiting();
        for (int i = 0; i < 302; ++i) {
            feed(statusFrame(live.channelMode, 90 + i % 7, 100));
            feed(encodeFrame(FrameType::RollerPeriod, 6700 + i % 13));
        }
    }
    void feed(const Bytes& bytes) {
        for (uint8_t b : bytes) decoder.feedByte(b);
    }
};

std::wstring TempPath(const char* name) {
    return fromUtf8(std::string(::testing::TempDir()) + name);
}

std::string FileImage(const std::wstring& path) {
    std::string image;
    EXPECT_TRUE(readFilePrefix(path, 1 << 20, image)) << toUtf8(path);
    return image;
}

Measurement ReadBack(const std::wstring& path) {
    Measurement m;
    EXPECT_TRUE(readMeasurement(path, m)) << toUtf8(path);
    return m;
}

TEST(RecoveryFile, HoldsWhatTheSaveWritesAndGoesWithTheSavedOrDroppedRun) {
    EndedRun r;
    ASSERT_EQ(r.run.takeEnding(), MeasurementRun::Ending::Complete);
    ASSERT_GT(r.run.sampleCount(), 290);
    const MeasurementRun::Header header = r.run.currentHeader();
    RecoveryFile recovery(TempPath("Wiederherstellung.kxm"));
    recovery.drop();
    ASSERT_TRUE(recovery.keep(r.run, header, 1765288800));
    ASSERT_TRUE(recovery.exists());

    // weather frames while the file dialog asks change the settings, not the run
    r.settings.weatherTemperature = 30;
    r.settings.recordComment = L"anders";
    const std::wstring saved = TempPath("Kunde-0001.kxm");
    ASSERT_TRUE(r.run.write(saved, 1765288830, header));
    Measurement kept = ReadBack(recovery.path());
    Measurement written = ReadBack(saved);
    EXPECT_EQ(kept.recordedAt, 1765288800) << "the end of the recording";
    kept.recordedAt = written.recordedAt;
    kept.fileName = written.fileName;
    EXPECT_EQ(serializeMeasurement(kept), serializeMeasurement(written)) << "samples, lambda, weather, gear, comment";
    EXPECT_TRUE(written.hasLambda());
    EXPECT_EQ(written.comment, L"Kunde 0001, 3. Gang");
    EXPECT_EQ(written.temperature, 21);

    // a save of the recovered run: the same file under the chosen name
    const std::string image = FileImage(recovery.path());
    EXPECT_FALSE(recovery.saveAs(TempPath("no-such-folder/Kunde-0002.kxm")));
    EXPECT_TRUE(recovery.exists()) << "a failed save keeps the run";
    const std::wstring recovered = TempPath("Kunde-0002.kxm");
    ASSERT_TRUE(recovery.saveAs(recovered));
    EXPECT_FALSE(recovery.exists());
    EXPECT_EQ(FileImage(recovered), image);
    Measurement none;
    EXPECT_FALSE(recovery.read(none));
    EXPECT_FALSE(recovery.saveAs(recovered)) << "nothing left to save";

    ASSERT_TRUE(recovery.keep(r.run, header, 1765288800));
    recovery.drop();
    EXPECT_FALSE(recovery.exists()) << "dropped";
    for (const std::wstring& path : {saved, recovered}) removeFile(path);
}

TEST(RecoveryFile, WithoutAPathNothingIsKept) {
    EndedRun r;
    RecoveryFile none;
    EXPECT_FALSE(none.keep(r.run, r.run.currentHeader(), 1));
    EXPECT_FALSE(none.exists());
    none.drop();
}

TEST(RecoveryFile, DateFormatStartsAtTheFirstConversion) {
    const struct {
        const wchar_t* timeFormat;
        const wchar_t* dateFormat;
    } cases[] = {
        {L"erstellt am %d.%m.%Y um %H:%M Uhr", L"%d.%m.%Y um %H:%M Uhr"},
        {L"%d.%m.%Y %H:%M", L"%d.%m.%Y %H:%M"},
        {L"Messung", L"Messung"},
        {L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(recoveryDateFormat(c.timeFormat), c.dateFormat) << toUtf8(c.timeFormat);
}

}  // namespace
