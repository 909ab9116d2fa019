#include "gateway/CurlFtpClient.h"

#include "FtpTestServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace kym {

void PrintTo(FtpStatus status, std::ostream* out) {
    *out << code(status);
}

namespace {

using test::readFile;
using test::writeFile;
using Names = std::vector<std::string>;

Names filesIn(const std::filesystem::path& folder) {
    Names names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

class CurlFtpClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(server.address().empty()) << "the FTP server did not start";
        std::filesystem::create_directories(kym);
    }

    test::TempDir temp;
    const std::filesystem::path kym = temp / "kym";
    const std::filesystem::path target = kym / "_config.cfg";
    test::FtpTestServer server{temp / "server"};
    const FtpLogin login{server.address(), "root", "lumo"};
    CurlFtpClient client;
};

TEST_F(CurlFtpClientTest, RefusalsCarryTheServersReply) {
    ASSERT_EQ(client.openSession(), FtpStatus::Ok);
    EXPECT_EQ(client.connect({server.address(), "root", "wrong"}), FtpStatus::ServerRefused);
    EXPECT_EQ(client.lastResponse().code, 530);
    EXPECT_EQ(client.lastResponse().text, "530 Authentication failed.");

    // No config.cfg on the server: the earlier download stays as it was, and nothing is left over.
    writeFile(target, "earlier");
    ASSERT_EQ(client.connect(login), FtpStatus::Ok);
    EXPECT_EQ(client.getFile("config.cfg", target), FtpStatus::ServerRefused);
    EXPECT_EQ(client.lastResponse().code, 550);
    EXPECT_EQ(readFile(target), "earlier");
    EXPECT_EQ(filesIn(kym), Names{"_config.cfg"});
}

TEST(CurlFtpClient, FailuresAreNumberedAsThePlatformDoes) {
    test::TempDir temp;
    test::FtpTestServer stalling(temp / "server", test::FtpTestServer::Downloads::Stalled);
    ASSERT_FALSE(stalling.address().empty());
    writeFile(temp / "server" / "config.cfg", "never sent");
    struct Case {
        const char* name;
        std::string host;
        FtpStatus connect, get = FtpStatus::Ok;
    };
    const std::vector<Case> cases = {
        {"stalled download", stalling.address(), FtpStatus::Ok, FtpStatus::Timeout},
        {"closed port", "127.0.0.1:" + std::to_string(test::closedLoopbackPort()),
         FtpStatus::CannotConnect},
        {"blank in the name", "gate way", FtpStatus::NameNotResolved},
        {"path in the name", "127.0.0.1/x", FtpStatus::NameNotResolved},
        {"port out of range", "127.0.0.1:70000", FtpStatus::NameNotResolved},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CurlFtpClient client({std::chrono::seconds(10), std::chrono::seconds(1)});
        ASSERT_EQ(client.openSession(), FtpStatus::Ok);
        ASSERT_EQ(client.connect({c.host, "root", "lumo"}), c.connect);
        if (c.connect == FtpStatus::Ok) {
            EXPECT_EQ(client.getFile("config.cfg", temp / "_config.cfg"), c.get);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(temp / "_config.cfg"));
}

} // namespace
} // namespace kym
