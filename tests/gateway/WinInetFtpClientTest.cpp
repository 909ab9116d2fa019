#include "gateway/WinInetFtpClient.h"

#include "support/TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace kym {
namespace {

// scripts/test-windows starts the FTP servers on the Linux side (tests/gateway/ftp_server.py) and
// names them here: one answering from a folder, one that greets with 421, and a closed port.
struct Servers {
    const char* answering = std::getenv("KYM_TEST_FTP_SERVER");
    const char* root = std::getenv("KYM_TEST_FTP_ROOT");
    const char* busy = std::getenv("KYM_TEST_FTP_BUSY");
    const char* closed = std::getenv("KYM_TEST_FTP_CLOSED");
    bool given() const { return answering && root && busy && closed; }
};

TEST(WinInetFtpClient, FailuresCarryWinInetsNumbersAndTheServersReply) {
    const Servers servers;
    ASSERT_TRUE(servers.given()) << "scripts/test-windows starts the servers";
    // Windows reports a refused login and a 421 greeting as 12003; Wine's WinINet as 12015
    // (login failure) and 12110. Either way the server's reply is kept.
    const struct {
        const char* host;
        const char* password;
        std::vector<int> statuses;
        int reply;
    } cases[] = {
        {servers.answering, "lumo", {code(FtpStatus::Ok)}, 0},
        {servers.answering, "wrong", {code(FtpStatus::ServerRefused), 12015}, 530},
        {servers.busy, "lumo", {code(FtpStatus::ServerRefused), 12110}, 421},
        {servers.closed, "lumo", {code(FtpStatus::CannotConnect)}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.host) + " " + c.password);
        WinInetFtpClient client({std::chrono::seconds(10), std::chrono::seconds(5)});
        ASSERT_EQ(client.openSession(), FtpStatus::Ok);
        const int status = code(client.connect({c.host, "root", c.password}));
        EXPECT_TRUE(std::ranges::count(c.statuses, status) == 1) << status;
        EXPECT_EQ(client.lastResponse().code, c.reply) << client.lastResponse().text;
        if (c.reply != 0) {
            EXPECT_EQ(client.lastResponse().text.substr(0, 3), std::to_string(c.reply));
        }
    }
}

// Bytes a text transfer would change; a download replaces the local file only when it is whole.
TEST(WinInetFtpClient, FilesTravelByteForByteAndAFailedGetKeepsTheEarlierFile) {
    const Servers servers;
    ASSERT_TRUE(servers.given()) << "scripts/test-windows starts the servers";
    test::TempDir temp;
    const std::filesystem::path root = servers.root;
    const std::string bytes("line\r\nbare\n\x1a\0\xff end", 20);
    test::writeFile(temp / "sent.cfg", bytes);
    test::writeFile(temp / "_config.cfg", "earlier");

    WinInetFtpClient client;
    ASSERT_EQ(client.openSession(), FtpStatus::Ok);
    ASSERT_EQ(client.connect({servers.answering, "root", "lumo"}), FtpStatus::Ok);
    ASSERT_EQ(client.putFile(temp / "sent.cfg", "config.cfg"), FtpStatus::Ok);
    EXPECT_EQ(test::readFile(root / "config.cfg"), bytes);

    EXPECT_EQ(code(client.getFile("missing.cfg", temp / "_config.cfg")),
              code(FtpStatus::ServerRefused));
    EXPECT_EQ(client.lastResponse().code, 550) << client.lastResponse().text;
    EXPECT_EQ(test::readFile(temp / "_config.cfg"), "earlier");

    ASSERT_EQ(client.getFile("config.cfg", temp / "_config.cfg"), FtpStatus::Ok);
    EXPECT_EQ(test::readFile(temp / "_config.cfg"), bytes);
    client.closeSession();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()), {}), 2)
        << "a temporary download was left behind";
}

} // namespace
} // namespace kym
