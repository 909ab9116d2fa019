#include "gateway/CurlFtpClient.h"

#include "FtpTestServer.h"

#include <gtest/gtest.h>

namespace kym {
namespace {

// Copying in both directions, the server's replies and a missing remote file are tested through
// the FTP dialog.
TEST(CurlFtpClient, FailuresAreNumberedAsThePlatformDoes) {
    test::TempDir temp;
    test::FtpTestServer stalling(temp / "server", test::FtpTestServer::Mode::Stalling);
    test::FtpTestServer busy(temp / "server", test::FtpTestServer::Mode::Busy);
    const std::string closed = test::FtpTestServer(temp / "server").address();
    ASSERT_FALSE(stalling.address().empty() || busy.address().empty() || closed.empty())
        << "the FTP server did not start";
    test::writeFile(temp / "server" / "config.cfg", "never sent");
    const struct {
        std::string host;
        FtpStatus connect, get = FtpStatus::Ok;
    } cases[] = {
        {stalling.address(), FtpStatus::Ok, FtpStatus::Timeout},
        {busy.address(), FtpStatus::ServerRefused},
        {closed, FtpStatus::CannotConnect},
        {"127.0.0.1/x", FtpStatus::NameNotResolved},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.host);
        CurlFtpClient client({std::chrono::seconds(10), std::chrono::seconds(1)});
        ASSERT_EQ(client.openSession(), FtpStatus::Ok);
        ASSERT_EQ(client.connect({c.host, "root", "lumo"}), c.connect);
        if (c.connect == FtpStatus::ServerRefused) {
            EXPECT_EQ(client.lastResponse().code, 421);
        }
        if (c.connect == FtpStatus::Ok) {
            EXPECT_EQ(client.getFile("config.cfg", temp / "_config.cfg"), c.get);
        }
    }
    // Nothing is left beside the server's folder, no temporary download either.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()), {}), 1);
}

} // namespace
} // namespace kym
