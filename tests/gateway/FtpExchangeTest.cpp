#include "FtpTestServer.h"
#include "gateway/CurlFtpClient.h"
#include "gateway/GatewayFtpSession.h"

#include <gtest/gtest.h>

namespace kym {
namespace {

using Log = std::vector<std::string>;
using Answer = Prompter::Answer;
using Path = std::filesystem::path;

// Plays the client and the user: logs the calls and the messages in one sequence.
struct PlannedExchange : FtpClient, Prompter {
    FtpStatus step(const std::string& entry) {
        log.push_back(entry);
        return entry == failing.first ? failing.second : FtpStatus::Ok;
    }
    FtpStatus openSession() override { return step("open"); }
    FtpStatus connect(const FtpLogin&) override { return step("connect"); }
    FtpStatus getFile(std::string_view, const Path&) override { return step("get"); }
    FtpStatus putFile(const Path&, std::string_view) override { return step("put"); }
    FtpResponse lastResponse() const override { return {530, "530 Login incorrect."}; }
    void closeConnection() override { step("close connection"); }
    void closeSession() override { step("close session"); }
    Answer show(const std::string& text, Buttons buttons, Icon) override {
        step(text);
        return buttons == Buttons::YesNo ? answer : Answer::Ok;
    }

    std::pair<std::string, FtpStatus> failing;
    Answer answer = Answer::No;
    Log log;
};

// The close question's Yes closes the handles at once, No leaves them to the closing steps.
TEST(GatewayFtpSession, FailuresShowTheirStepsInOrder) {
    const std::string extended = "InternetConnect Extd Err: 530 530 Login incorrect.";
    const std::string question = "\r\nClose Connection and Session?";
    const auto refused = std::pair{"connect", FtpStatus::ServerRefused};
    const struct {
        const char* send; // the local file of a Send; none for a Get
        std::string host;
        std::pair<std::string, FtpStatus> failing;
        Answer answer;
        Log expected;
    } cases[] = {
        // clang-format off
        {nullptr, "gw", refused, Answer::Yes, {"open", "connect", extended,
         "InternetConnect Err: 12003" + question, "close session", "Not in session"}},
        {nullptr, "gw", refused, Answer::No, {"open", "connect", extended,
         "InternetConnect Err: 12003" + question, "Not in session", "close session"}},
        {"/d/a.cfg", "gw", {"connect", FtpStatus::CannotConnect}, Answer::Yes, {"open", "connect",
         "InternetConnect Err: 12029" + question, "close session", "Not in session"}},
        {nullptr, "gw", {"get", FtpStatus::Timeout}, Answer::Yes, {"open", "connect", "get",
         "FtpGetFile Err: 12002" + question, "close connection", "close session"}},
        {"/d/a.cfg", "", {}, Answer::No, {"open", "Please enter an IP Address for the Gateway!",
         "Not in session", "close session"}},
        {"", "gw", {}, Answer::No, {"open", "connect", "Please select a local file to send.",
         "close connection", "close session"}},
        // clang-format on
    };
    for (const auto& c : cases) {
        PlannedExchange planned;
        planned.failing = c.failing;
        planned.answer = c.answer;
        GatewayFtpSession session(planned, planned);
        const FtpLogin login{c.host, "root", "lumo"};
        EXPECT_FALSE(c.send ? session.send(login, c.send) : session.get(login, "/kym/x.cfg"));
        EXPECT_EQ(planned.log, c.expected) << "case " << &c - cases;
        EXPECT_FALSE(session.connected() || session.sessionOpen() || session.connectionOpen());
    }
}

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
    // No temporary download is left.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()), {}), 1);
}

} // namespace
} // namespace kym
