#include "FtpTestServer.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace kym {
namespace {

using test::readFile;

TEST(FtpCommands, PutAndGetCopyBinaryBytes) {
    test::TempDir temp;
    // The default download lands in the kym folder of the home folder.
    ::setenv("HOME", temp.path().c_str(), 1);
    test::FtpTestServer server(temp / "server");
    ASSERT_FALSE(server.address().empty());
    std::string bytes;
    for (int i = 0; i < 70000; ++i)
        bytes += static_cast<char>(i * 7 % 256);
    bytes += std::string("\r\n\n\r\0", 5);
    const std::string upload = (temp / "upload.bin").string();
    test::writeFile(upload, bytes);

    const auto put = test::runProcess({KYMTOOL, "ftp", "put", upload, "--host", server.address()});
    EXPECT_EQ(put.exitCode, 0) << put.err;
    EXPECT_EQ(put.out, "File has been sent\n");
    EXPECT_EQ(readFile(temp / "server" / "config.cfg"), bytes);

    std::filesystem::create_directories(temp / "kym");
    test::writeFile(temp / "kym" / "_config.cfg", "an earlier download");
    const auto get = test::runProcess({KYMTOOL, "ftp", "get", "--user", "root", "--password",
                                       "lumo", "--host", server.address()});
    EXPECT_EQ(get.exitCode, 0) << get.err;
    EXPECT_EQ(get.out, "File has been placed in " + (temp / "kym" / "_config.cfg").string() + "\n");
    EXPECT_EQ(readFile(temp / "kym" / "_config.cfg"), bytes);
}

} // namespace
} // namespace kym
