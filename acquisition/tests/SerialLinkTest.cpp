// The serial link under Wine on real pseudo-terminals: a loop pair (two COM
// ports on the two ends of one pair) and dynosim on a third port. Run by
// serial_wine_test.sh, which maps the ports and names them in KX_LOOP_PORTS,
// KX_SIM_PORT, KX_REFUSING_PORT and KX_MISSING_PORT.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <atomic>
#include <sstream>
#include <thread>
#include <vector>

#include "FrameDecoder.h"
#include "SerialLink.h"

namespace {

int16_t portFromEnvironment(const char* name, int which = 0) {
    const char* text = std::getenv(name);
    if (!text) return 0;
    std::istringstream in(text);
    int port = 0;
    for (int i = 0; i <= which; ++i) in >> port;
    return static_cast<int16_t>(port);
}

#define REQUIRE_PORT(port, name)                                                     \
    ASSERT_GT(port, 0) << name << " is not set: run this test through serial_wine_test.sh"

struct Collected : ByteConsumer {
    std::vector<uint8_t> bytes;
    void feedByte(uint8_t byte) override { bytes.push_back(byte); }
};

DWORD bytesWaiting(const SerialLink& link) {
    DWORD errors = 0;
    COMSTAT status = {};
    ClearCommError(static_cast<HANDLE>(link.nativeHandle()), &errors, &status);
    return status.cbInQue;
}

// Waits until the driver has `count` bytes queued, at most five seconds.
bool waitForQueued(const SerialLink& link, DWORD count) {
    for (int i = 0; i < 500; ++i) {
        if (bytesWaiting(link) >= count) return true;
        Sleep(10);
    }
    return false;
}

class LoopPair : public ::testing::Test {
protected:
    void SetUp() override {
        const int16_t a = portFromEnvironment("KX_LOOP_PORTS", 0);
        const int16_t b = portFromEnvironment("KX_LOOP_PORTS", 1);
        REQUIRE_PORT(a, "KX_LOOP_PORTS");
        REQUIRE_PORT(b, "KX_LOOP_PORTS");
        reader.open(a);
        writer.open(b);
        ASSERT_TRUE(reader.isOpen()) << "COM" << a;
        ASSERT_TRUE(writer.isOpen()) << "COM" << b;
        // what an earlier test left in the pair
        Collected stale;
        reader.drain(stale);
        writer.drain(stale);
    }
    SerialLink reader, writer;
};

TEST(SerialLinkName, DeviceNamespaceForm) {
    EXPECT_EQ(SerialLink::deviceName(1), L"\\\\.\\COM1");
    EXPECT_EQ(SerialLink::deviceName(12), L"\\\\.\\COM12");
    EXPECT_EQ(SerialLink::deviceName(255), L"\\\\.\\COM255");
}

TEST(SerialLinkClosed, ClosingTwiceOrNeverOpenedDoesNothing) {
    SerialLink link;
    EXPECT_FALSE(link.isOpen());
    link.close();
    link.close();
    EXPECT_FALSE(link.isOpen());
    Collected got;
    link.drain(got);
    EXPECT_TRUE(got.bytes.empty());
    EXPECT_FALSE(link.writeByte(0x50)) << "a link that is not open drops what is written";
}

TEST(SerialLinkClosed, PortThatDoesNotExistLeavesTheLinkClosed) {
    const int16_t missing = portFromEnvironment("KX_MISSING_PORT");
    REQUIRE_PORT(missing, "KX_MISSING_PORT");
    SerialLink link;
    link.open(missing);
    EXPECT_FALSE(link.isOpen());
}

TEST(SerialLinkClosed, RefusedConfigurationClosesThePortAgain) {
    // a device that is no serial line: it opens, but refuses the line settings
    const int16_t refusing = portFromEnvironment("KX_REFUSING_PORT");
    REQUIRE_PORT(refusing, "KX_REFUSING_PORT");
    const std::wstring name = SerialLink::deviceName(refusing);
    HANDLE probe = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(probe, INVALID_HANDLE_VALUE) << "the device itself opens";
    CloseHandle(probe);
    SerialLink link;
    link.open(refusing);
    EXPECT_FALSE(link.isOpen());
    link.close();
    EXPECT_FALSE(link.isOpen());
}

TEST_F(LoopPair, DrainHandsOverEveryQueuedByteInOrderInOneCall) {
    std::vector<uint8_t> sent;
    for (int i = 0; i < 300; ++i) sent.push_back(static_cast<uint8_t>(i * 7 + i / 256));
    for (uint8_t b : sent) ASSERT_TRUE(writer.writeByte(b));
    ASSERT_TRUE(waitForQueued(reader, 300)) << "queued: " << bytesWaiting(reader);
    Collected got;
    reader.drain(got);
    EXPECT_EQ(got.bytes, sent);
    EXPECT_EQ(bytesWaiting(reader), 0u);
}

TEST_F(LoopPair, EmptyDrainReturnsWithoutBytes) {
    // a read that waited for data would never come back here; how long the
    // one empty read takes is measured by serial_drain_bench
    Collected got;
    const DWORD before = GetTickCount();
    reader.drain(got);
    EXPECT_TRUE(got.bytes.empty());
    EXPECT_LT(GetTickCount() - before, 2000u);
}

// A controller streaming without pauses must not hold one drain for as long
// as it streams (the measurement dialog's timer would freeze); the bytes
// left over come with the next drain, none lost, in order.
TEST_F(LoopPair, EndlessStreamEndsTheDrainAndLosesNothing) {
    // a byte every millisecond, as a full 9600-baud line brings them; the
    // controller keeps time itself, because a sleep may pause longer than
    // the 5 ms that end a drain
    std::atomic<bool> streaming{true};
    std::thread controller([this, &streaming] {
        LARGE_INTEGER frequency, start, now;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        for (int i = 0; i < 1500; ++i) {
            writer.writeByte(static_cast<uint8_t>(i));
            do {
                SwitchToThread();
                QueryPerformanceCounter(&now);
            } while ((now.QuadPart - start.QuadPart) * 1000 < (i + 1) * frequency.QuadPart);
        }
        streaming = false;
    });
    ASSERT_TRUE(waitForQueued(reader, 1));
    Collected got;
    reader.drain(got);
    const bool stillStreaming = streaming;
    EXPECT_TRUE(stillStreaming) << "the drain followed the stream to its end (" << got.bytes.size() << " bytes)";
    EXPECT_FALSE(got.bytes.empty());
    controller.join();
    for (int i = 0; i < 50 && got.bytes.size() < 1500; ++i) {
        reader.drain(got);
        if (got.bytes.size() < 1500) Sleep(20);
    }
    ASSERT_EQ(got.bytes.size(), 1500u);
    for (size_t i = 0; i < got.bytes.size(); ++i) ASSERT_EQ(got.bytes[i], static_cast<uint8_t>(i)) << "byte " << i;
}

TEST_F(LoopPair, ArrivalMovesTheReceiveDeadline) {
    reader.setReceiveDeadline(0);
    Collected got;
    reader.drain(got);
    EXPECT_EQ(reader.receiveDeadline(), 0u) << "no byte, no change";
    ASSERT_TRUE(writer.writeByte(0x42));
    ASSERT_TRUE(waitForQueued(reader, 1));
    const DWORD before = GetTickCount();
    reader.drain(got);
    ASSERT_EQ(got.bytes.size(), 1u);
    EXPECT_GE(reader.receiveDeadline(), before + 1000);
    EXPECT_LE(reader.receiveDeadline(), GetTickCount() + 1000);
}

TEST_F(LoopPair, ClosingTwiceThenOpeningAgain) {
    const int16_t a = portFromEnvironment("KX_LOOP_PORTS", 0);
    reader.close();
    reader.close();
    EXPECT_FALSE(reader.isOpen());
    reader.open(a);
    ASSERT_TRUE(reader.isOpen());
    ASSERT_TRUE(writer.writeByte(0x99));
    ASSERT_TRUE(waitForQueued(reader, 1));
    Collected got;
    reader.drain(got);
    EXPECT_EQ(got.bytes, std::vector<uint8_t>{0x99});
    // opening an open link replaces its port
    reader.open(a);
    EXPECT_TRUE(reader.isOpen());
}

TEST(SerialLinkSimulator, CommandsReachTheControllerOnCom12) {
    const int16_t port = portFromEnvironment("KX_SIM_PORT");
    REQUIRE_PORT(port, "KX_SIM_PORT");
    EXPECT_EQ(SerialLink::deviceName(port), L"\\\\.\\COM" + std::to_wstring(port));
    SerialLink link;
    link.open(port);
    ASSERT_TRUE(link.isOpen()) << "COM" << port;

    Settings settings;
    LiveValues live;
    FrameDecoder decoder(live, settings);
    decoder.setCommandWriter(&link);
    decoder.resetDeviceSelection();
    decoder.selectDevice(0);
    struct RollerCount : RollerFrameConsumer {
        int frames = 0;
        void rollerFrame(int32_t) override { ++frames; }
        void frameApplied() override {}
    } rollers;
    decoder.setRun(nullptr, &rollers);
    // as the measurement dialog's timer: drain every 100 ms
    auto pollUntil = [&](auto done) {
        for (int tick = 0; tick < 100; ++tick) {
            link.drain(decoder);
            if (done()) return true;
            Sleep(100);
        }
        return false;
    };
    const bool configured = pollUntil([&] { return live.status[0] == 0 && live.status[1] == 3 && live.status[2] == 15; });
    EXPECT_TRUE(configured) << "pulse count and ratio answered; status " << int(live.status[0]) << ","
                            << int(live.status[1]) << "," << int(live.status[2]);
    EXPECT_TRUE(pollUntil([&] { return rollers.frames > 5 && std::abs(live.engineSpeed() - 3000) <= 10; }))
        << "engine speed " << live.engineSpeed();
    decoder.selectDevice(5);
    EXPECT_TRUE(pollUntil([&] { return live.status[0] == 2 && live.statusSeen; })) << "0x52 reached the controller";
    link.close();
    link.close();
}

}  // namespace
