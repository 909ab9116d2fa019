#include "support/ConfigLines.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace kym {
namespace {

// kymtool send against kymtool simulate, each a process of its own, on a real pseudo-terminal.
class SerialCommands : public testing::Test {
protected:
    test::ProcessResult run(std::vector<std::string> args) {
        args.insert(args.begin(), KYMTOOL);
        return test::runProcess(args);
    }

    // Starts the simulator and returns the port it prints.
    std::string simulate(std::vector<std::string> options = {}) {
        options.insert(options.begin(), {KYMTOOL, "simulate"});
        unit_ = std::make_unique<test::BackgroundProcess>(options);
        return unit_->readLine();
    }
    std::string stopSimulator() { return unit_->stop(); }

    std::string newFile(const std::string& deviceType) {
        const std::string path = (dir / (deviceType + ".vlt")).string();
        EXPECT_EQ(run({"new", deviceType, path}).exitCode, 0);
        return path;
    }
    // The frames kymtool frame prints for the file, one per line.
    std::string frames(const std::string& file) { return run({"frame", file}).out; }

    test::TempDir dir;

private:
    std::unique_ptr<test::BackgroundProcess> unit_;
};

TEST_F(SerialCommands, SendIsAcknowledgedByTheSimulatedUnit) {
    const std::string port = simulate();
    ASSERT_TRUE(port.starts_with("/dev/")) << port;
    const std::string file = newFile("KYM3815");
    for (int attempt = 0; attempt < 2; ++attempt) {
        const auto result = run({"send", file, "--port", port});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, port + ": Open at 19200,N,8,1\nFile is ready to be sent.\n"
                                     "Acknowledge Received\n");
    }
    const std::string log = stopSimulator();
    std::string frame = frames(file);
    frame.pop_back();
    const std::string line =
        "frame " + frame + " (79 bytes), checksum right, replied 1B 47 4A 06 39 AB\n";
    EXPECT_NE(log.find(line), std::string::npos) << log;
    EXPECT_NE(log.find(line, log.find(line) + 1), std::string::npos) << log;
}

TEST_F(SerialCommands, TwoOutputReceiverGetsTheFollowUpThroughALink) {
    const std::string link = (dir / "unit").string();
    simulate({"--link", link});
    ASSERT_TRUE(std::filesystem::is_symlink(link));
    const auto result = run({"send", newFile("QR4805"), "--port", link});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, link + ": Open at 19200,N,8,1\nFile is ready to be sent.\n"
                                 "Acknowledge Received\nAcknowledge Received\n");
    const std::string log = stopSimulator();
    EXPECT_NE(log.find("frame 1B 5C 4A"), std::string::npos) << log;
    EXPECT_NE(log.find("(79 bytes), checksum right, replied 1B\n"), std::string::npos) << log;
    EXPECT_NE(log.find("frame 1B 4E 01 01 56 E1 (6 bytes), checksum right, replied 1B\n"),
              std::string::npos)
        << log;
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

TEST_F(SerialCommands, ReplyModes) {
    struct Case {
        const char* mode;
        const char* deviceType;
        int exitCode;
        std::string verdict;
        std::string replied;
    };
    const Case cases[] = {
        {"pieces", "QD4815", 0, "Acknowledge Received", "replied 1B 47 | 4A 06 | 39 AB"},
        {"silent", "QD4805", 1, "Check Cable Connections", "checksum right, no reply"},
    };
    for (const auto& c : cases) {
        const std::string port = simulate({"--reply", c.mode});
        const auto result = run({"send", newFile(c.deviceType), "--port", port});
        EXPECT_EQ(result.exitCode, c.exitCode) << c.mode;
        EXPECT_TRUE(result.out.ends_with("\n" + c.verdict + "\n")) << result.out;
        EXPECT_NE(stopSimulator().find(c.replied), std::string::npos) << c.mode;
    }
}

TEST_F(SerialCommands, SendRefusesWhatItCannotSend) {
    const std::string port = simulate();
    test::writeFile(dir / "header.vlt", "DEVICE_TYPE\r\nKYM3815\r\n");
    struct Case {
        std::string file;
        std::string port;
        int exitCode;
        std::string out;
        std::string errStart;
    };
    const std::string opened = port + ": Open at 19200,N,8,1\n";
    const Case cases[] = {
        {(dir / "header.vlt").string(), port, 2,
         opened + "Error reading file \nError reading file. File cannot be sent.\n",
         (dir / "header.vlt").string() + ":0: "},
        {newFile("KYM3815"), "COM 9", 3, "Cannot open:  COM 0\n", "kymtool send: COM 0: "},
        {newFile("KYM3815"), port + "-missing", 3, "Cannot open:  " + port + "-missing\n",
         "kymtool send: " + port + "-missing: "},
    };
    for (const auto& c : cases) {
        const auto result = run({"send", c.file, "--port", c.port});
        EXPECT_EQ(result.exitCode, c.exitCode) << c.file << " " << c.port;
        EXPECT_EQ(result.out, c.out);
        EXPECT_TRUE(result.err.starts_with(c.errStart)) << result.err;
    }
    EXPECT_EQ(stopSimulator(), "");
}

} // namespace
} // namespace kym
