// dynosim as a process on a pseudo-terminal: --pty creates one and links it,
// --port speaks on an existing end; the program's decoder on the other end
// configures the controller with real command bytes.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <pty.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "FrameDecoder.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

pid_t spawnDynosim(std::vector<std::string> args) {
    args.insert(args.begin(), KX_DYNOSIM);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

int stopDynosim(pid_t pid) {
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct FdWriter : CommandWriter {
    int fd = -1;
    bool writeByte(uint8_t byte) override { return write(fd, &byte, 1) == 1; }
};

// The program's end: decoder, live values and settings on one file descriptor.
struct ProgramEnd {
    Settings settings;
    LiveValues live;
    FrameDecoder decoder{live, settings};
    FdWriter writer;
    int rollerFrames = 0;
    struct Count : RollerFrameConsumer {
        int* frames;
        void rollerFrame(int32_t) override { ++*frames; }
        void frameApplied() override {}
    } count;

    explicit ProgramEnd(int fd) {
        writer.fd = fd;
        count.frames = &rollerFrames;
        decoder.setCommandWriter(&writer);
        decoder.setRun(nullptr, &count);
        decoder.resetDeviceSelection();
        decoder.selectDevice(0);
    }
    // Reads and decodes until `done` holds or `seconds` pass.
    template <typename Done>
    bool runUntil(Done done, double seconds) {
        const auto end = Clock::now() + std::chrono::duration<double>(seconds);
        uint8_t buffer[256];
        while (Clock::now() < end) {
            const ssize_t n = read(writer.fd, buffer, sizeof buffer);
            for (ssize_t i = 0; i < n; ++i) decoder.feedByte(buffer[i]);
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    bool statusIs(int b0, int b1, int b2) const {
        return live.status[0] == b0 && live.status[1] == b1 && live.status[2] == b2;
    }
};

int openRaw(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0) {
        termios t{};
        tcgetattr(fd, &t);
        cfmakeraw(&t);
        tcsetattr(fd, TCSANOW, &t);
    }
    return fd;
}

TEST(Line, PtyLinkSpeaksTheProtocolAndObeysCommands) {
    char dir[] = "/tmp/kx-line-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string link = std::string(dir) + "/ttyDyno";
    const pid_t pid = spawnDynosim({"--pty", link, "--seed", "3", "--steady", "3000", "--sensor-bytes", "128,40"});
    ASSERT_GT(pid, 0);
    struct stat info{};
    for (int i = 0; i < 500 && lstat(link.c_str(), &info) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(S_ISLNK(info.st_mode)) << link;

    int fd = openRaw(link);
    ASSERT_GE(fd, 0);
    {
        ProgramEnd program(fd);
        EXPECT_TRUE(program.runUntil([&] { return program.statusIs(0, 3, 15); }, 5))
            << "pulse count and ratio commands answered; status " << int(program.live.status[0]) << ","
            << int(program.live.status[1]) << "," << int(program.live.status[2]);
        // the smoothing settles after the ratio command has halved the period
        EXPECT_TRUE(program.runUntil([&] { return std::abs(program.live.engineSpeed() - 3000) <= 10; }, 5))
            << "engine speed " << program.live.engineSpeed();
        EXPECT_GT(program.rollerFrames, 10);
        program.decoder.selectDevice(5);
        EXPECT_TRUE(program.runUntil([&] { return program.statusIs(2, 128, 40); }, 5)) << "channel mode 2";
    }
    // the port closed and opened again, as after the Options dialog
    close(fd);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    fd = openRaw(link);
    ASSERT_GE(fd, 0);
    {
        ProgramEnd program(fd);
        EXPECT_TRUE(program.runUntil([&] { return program.rollerFrames > 3; }, 5)) << "frames after reopening";
    }
    close(fd);
    EXPECT_EQ(stopDynosim(pid), 0);
    EXPECT_NE(lstat(link.c_str(), &info), 0) << "the link is removed at the end";
    rmdir(dir);
}

TEST(Line, PortOnAnExistingPseudoTerminalEnd) {
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    const std::string device = ttyname(slave);
    termios t{};
    tcgetattr(master, &t);
    cfmakeraw(&t);
    tcsetattr(master, TCSANOW, &t);
    fcntl(master, F_SETFL, O_NONBLOCK);
    const pid_t pid = spawnDynosim({"--port", device, "--time-scale", "2"});
    ASSERT_GT(pid, 0);
    ProgramEnd program(master);
    program.decoder.selectDevice(1);
    EXPECT_TRUE(program.runUntil([&] { return program.live.status[0] == 1 && program.live.statusSeen; }, 5))
        << "0x51 reached the controller";
    EXPECT_TRUE(program.runUntil([&] { return program.rollerFrames > 5; }, 5));
    EXPECT_EQ(stopDynosim(pid), 0);
    close(slave);
    close(master);
}

TEST(Line, ScenarioLimitEndsTheProcess) {
    char dir[] = "/tmp/kx-line-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string link = std::string(dir) + "/ttyDyno";
    const pid_t pid = spawnDynosim({"--pty", link, "--duration", "2", "--time-scale", "10"});
    ASSERT_GT(pid, 0);
    int status = 0;
    const auto end = Clock::now() + std::chrono::seconds(10);
    pid_t done = 0;
    while ((done = waitpid(pid, &status, WNOHANG)) == 0 && Clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (done == 0) stopDynosim(pid);
    ASSERT_EQ(done, pid) << "2 simulated seconds at ten times real time";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    rmdir(dir);
}

TEST(Line, ExistingFileIsNeverReplacedByTheLink) {
    char dir[] = "/tmp/kx-line-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string file = std::string(dir) + "/precious";
    FILE* f = fopen(file.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fputs("keep", f);
    fclose(f);
    const pid_t pid = spawnDynosim({"--pty", file});
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
    struct stat info{};
    ASSERT_EQ(lstat(file.c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    unlink(file.c_str());
    rmdir(dir);
}

}  // namespace
