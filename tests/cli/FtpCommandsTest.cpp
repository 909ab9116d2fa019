#include "FtpTestServer.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace kym {
namespace {

using test::readFile;

struct ToolRun {
    int exitCode;
    std::string out, err;
};

// Runs kymtool with HOME in the temporary folder, so that the default download lands there.
ToolRun kymtool(const test::TempDir& temp, const std::string& arguments) {
    const std::string command = "HOME=" + temp.path().string() + " " KYMTOOL " " + arguments +
                                " >" + (temp / "out").string() + " 2>" + (temp / "err").string();
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(temp / "out"),
            readFile(temp / "err")};
}

TEST(FtpCommands, PutAndGetCopyBinaryBytesAndReportFailures) {
    test::TempDir temp;
    test::FtpTestServer server(temp / "server");
    ASSERT_FALSE(server.address().empty());
    std::string bytes;
    for (int i = 0; i < 70000; ++i)
        bytes += static_cast<char>(i * 7 % 256);
    bytes += std::string("\r\n\n\r\0", 5);
    test::writeFile(temp / "upload.bin", bytes);
    const std::string host = " --host " + server.address();

    const ToolRun put = kymtool(temp, "ftp put " + (temp / "upload.bin").string() + host);
    EXPECT_EQ(put.exitCode, 0) << put.err;
    EXPECT_EQ(put.out, "File has been sent\n");
    EXPECT_EQ(readFile(temp / "server" / "config.cfg"), bytes);

    std::filesystem::create_directories(temp / "kym");
    test::writeFile(temp / "kym" / "_config.cfg", "an earlier download");
    const ToolRun get = kymtool(temp, "ftp get --user root --password lumo" + host);
    EXPECT_EQ(get.exitCode, 0) << get.err;
    EXPECT_EQ(get.out, "File has been placed in " + (temp / "kym" / "_config.cfg").string() + "\n");
    EXPECT_EQ(readFile(temp / "kym" / "_config.cfg"), bytes);

    const ToolRun refused =
        kymtool(temp, "ftp get --password wrong --output " + (temp / "x").string() + host);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "InternetConnect Extd Err: 530 530 Authentication failed.\n"
                           "InternetConnect Err: 12003\nClose Connection and Session? Yes\n"
                           "Not in session\n");

    const std::string closed = "127.0.0.1:" + std::to_string(test::closedLoopbackPort());
    const ToolRun unreachable =
        kymtool(temp, "ftp put " + (temp / "upload.bin").string() + " --host " + closed);
    EXPECT_EQ(unreachable.exitCode, 1);
    EXPECT_EQ(unreachable.err, "InternetConnect Err: 12029\nClose Connection and Session? Yes\n"
                               "Not in session\n");
}

} // namespace
} // namespace kym
