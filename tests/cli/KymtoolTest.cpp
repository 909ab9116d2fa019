#include "FtpTestServer.h"
#include "KymtoolFixture.h"
#include "config/Version.h"
#include "support/ConfigLines.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace kym {
namespace {

using test::ConfigLines;

TEST_F(Kymtool, ExitCodes) {
    const std::string target = (dir / "out.vlt").string();
    const std::vector<std::string> rows(8, ",,,,,;");
    const std::string extender =
        file(ConfigLines("QX4815", std::vector<std::string>(24, ",,,,,;")));
    const std::string receiver = file(ConfigLines("QR4805", rows));
    const std::string unknown = file(ConfigLines("QX-4815", rows));
    const std::string example = file(kWorkedExample);
    const std::string warned = file(ConfigLines(kWorkedExample).set("TIMEOUT", "90"));
    const std::string broken =
        file(ConfigLines(kWorkedExample).set("TIMEOUT", "90").set("CAPTURE", ""));
    const std::string tooManyRows = (dir / "rows.vlt").string();
    test::writeFile(tooManyRows, "DEVICE_TYPE\nKYM3815\nCOLUMN_NAMES\n5\n\nROW_DATA\n12\n");
    const std::string huge = (dir / "huge.vlt").string();
    test::writeFile(huge, "");
    std::filesystem::resize_file(huge, 200 << 20);
    const std::string tooLarge = ": the file is 200 MiB; a register configuration is at most 1 MiB";
    const std::string analogRow =
        "     0  ANALOG          00 01 01 01 00 00 0F FF  0001     1  1 COUNT    "
        "          0  4095\n";
    // The arguments, the exit code, and a text the output and the error output hold.
    const std::tuple<std::vector<std::string>, int, std::string, std::string> cases[] = {
        {{"new", "kym3815", target}, 2, "", "unknown device type \"kym3815\""},
        {{"resave", example, (dir / "again").string()}, 0, "", ""},
        {{"resave", tooManyRows, target}, 2, "", ":7: ROW_DATA count 12 is larger than the 8"},
        {{"resave", huge, target}, 1, "", huge + tooLarge},
        {{"frame", extender, "--unit", "3"}, 0, "1B 47 4A 00 29", ""},
        {{"frame", receiver}, 0, "\n1B 4E 01 01 56 E1\n", ""},
        {{"frame", huge}, 1, "", huge + tooLarge},
        {{"frame", broken}, 2, "", broken + ":2: CAPTURE \"\" is not a number"},
        {{"frame", unknown}, 3, "", "no frame for device type \"QX-4815\""},
        {{"frame", extender, "--unit", "0"}, 3, "", "type \"QX4815\" and unit 0\n"},
        {{"image", example}, 0, "   1   28  device code: 40\n", ""},
        {{"image", example}, 0, analogRow, ""},
        {{"image", broken}, 2, "Device type: QD4815", broken + ":2: CAPTURE \"\""},
        {{"check", huge}, 2, huge + ":0: error: cannot open the file: the file is 200 MiB", ""},
        {{"check", example}, 0, "", ""},
        {{"check", warned}, 1, ":18: warning: TIMEOUT \"90\" is not in the time-out list\n", ""},
        {{"check", broken}, 2, broken + ":2: error: ", ""},
    };
    for (const auto& [args, exitCode, out, err] : cases) {
        const auto result = run(args);
        SCOPED_TRACE(args[0] + " " + args[1] + " " + out);
        EXPECT_EQ(result.exitCode, exitCode);
        EXPECT_NE(result.out.find(out), std::string::npos) << result.out;
        EXPECT_NE(result.err.find(err), std::string::npos) << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(target));
}

// Both programs answer --version and --help without a display; an unknown option is refused.
TEST_F(Kymtool, BothProgramsAnswerVersionAndHelp) {
    const std::string version(kVersion);
    const struct {
        std::vector<std::string> argv;
        int exitCode;
        std::string out;
    } rows[] = {
        {{KYMTOOL, "--version"}, 0, "kymtool " + version + "\n"},
        {{KYMEDITOR, "--version"}, 0, "kymeditor " + version + "\n"},
        {{KYMEDITOR, "--help"}, 0, "Usage: kymeditor [FILE]"},
        {{KYMTOOL, "--help"}, 0, "kymtool: "},
    };
    for (const auto& row : rows) {
        const auto result = test::runProcess(row.argv);
        EXPECT_EQ(result.exitCode, row.exitCode) << row.argv[1];
        EXPECT_EQ(result.out.substr(0, row.out.size()), row.out) << row.argv[1];
    }
}

TEST_F(Kymtool, SendIsAcknowledgedByTheSimulatedUnit) {
    const std::string link = (dir / "unit").string();
    test::BackgroundProcess unit({KYMTOOL, "simulate", "--link", link});
    const std::string port = unit.readLine();
    ASSERT_TRUE(port.starts_with("/dev/")) << port;
    ASSERT_TRUE(std::filesystem::is_symlink(link));
    // The unit outlives the tool closing the port, and answers by its path and by the link.
    const std::string file = newFile("KYM3815");
    for (const std::string& name : {port, link}) {
        SCOPED_TRACE(name);
        const auto result = run({"send", file, "--port", name});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, name + ": Open at 19200,N,8,1\nFile is ready to be sent.\n"
                                     "Acknowledge Received\n");
    }
    // The two-output receiver acknowledges its frame and, a second later, the follow-up.
    const auto start = std::chrono::steady_clock::now();
    const auto receiver = run({"send", newFile("QR4805"), "--port", port});
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(receiver.exitCode, 0) << receiver.err;
    EXPECT_TRUE(receiver.out.ends_with("\nAcknowledge Received\nAcknowledge Received\n"))
        << receiver.out;

    const std::string log = unit.stop();
    std::string frame = run({"frame", file}).out;
    frame.pop_back();
    const std::string line =
        "frame " + frame + " (79 bytes), checksum right, replied 1B 47 4A 06 39 AB\n";
    EXPECT_NE(log.find(line, log.find(line) + 1), std::string::npos) << log;
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

TEST_F(Kymtool, SendExitCodes) {
    test::BackgroundProcess unit({KYMTOOL, "simulate", "--reply", "wrong"});
    const std::string port = unit.readLine();
    const std::string file = newFile("KYM3815");
    const std::string header = (dir / "header.vlt").string();
    test::writeFile(header, "DEVICE_TYPE\r\nKYM3815\r\n");
    const std::string opened = port + ": Open at 19200,N,8,1\n";
    const std::string missing = port + "-missing";
    const std::tuple<std::string, std::string, int, std::string, std::string> cases[] = {
        {file, port, 1, opened + "File is ready to be sent.\nCheck Cable Connections\n", ""},
        {header, port, 2,
         opened + "Error reading file \nError reading file. File cannot be sent.\n",
         header + ":0: "},
        {file, "COM 9", 3, "Cannot open:  COM 0\n", "kymtool send: COM 0: "},
        {file, missing, 3, "Cannot open:  " + missing + "\n", "kymtool send: " + missing + ": "},
    };
    for (const auto& [config, name, exitCode, out, err] : cases) {
        SCOPED_TRACE(config + " " + name);
        const auto result = run({"send", config, "--port", name});
        EXPECT_EQ(result.exitCode, exitCode);
        EXPECT_EQ(result.out, out);
        EXPECT_TRUE(result.err.starts_with(err)) << result.err;
    }
    // Only the frame of the first send reached the unit.
    const std::string log = unit.stop();
    EXPECT_EQ(std::ranges::count(log, '\n'), 1) << log;
    EXPECT_NE(log.find("(79 bytes), checksum right, replied 1B 47 4A 15"), std::string::npos)
        << log;
}

TEST_F(Kymtool, FtpPutAndGetCopyBinaryBytes) {
    // The default download lands in the kym folder of the home folder.
    ::setenv("HOME", dir.path().c_str(), 1);
    test::FtpTestServer server(dir / "server");
    ASSERT_FALSE(server.address().empty());
    std::string bytes;
    for (int i = 0; i < 70000; ++i)
        bytes += static_cast<char>(i * 7 % 256);
    bytes += std::string("\r\n\n\r\0", 5);
    const std::string upload = (dir / "upload.bin").string();
    test::writeFile(upload, bytes);

    const auto put = run({"ftp", "put", upload, "--host", server.address()});
    EXPECT_EQ(put.exitCode, 0) << put.err;
    EXPECT_EQ(put.out, "File has been sent\n");
    EXPECT_EQ(test::readFile(dir / "server" / "config.cfg"), bytes);

    const auto download = dir / "kym" / "_config.cfg";
    std::filesystem::create_directories(dir / "kym");
    test::writeFile(download, "an earlier download");
    const auto get =
        run({"ftp", "get", "--user", "root", "--password", "lumo", "--host", server.address()});
    EXPECT_EQ(get.exitCode, 0) << get.err;
    EXPECT_EQ(get.out, "File has been placed in " + download.string() + "\n");
    EXPECT_EQ(test::readFile(download), bytes);
}

} // namespace
} // namespace kym
