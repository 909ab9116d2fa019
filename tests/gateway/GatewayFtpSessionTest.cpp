#include "gateway/GatewayFtpSession.h"

#include <gtest/gtest.h>

namespace kym {
namespace {

using Log = std::vector<std::string>;
using Answer = Prompter::Answer;
using Path = std::filesystem::path;

// Plays the client and the user: logs the calls and the messages in one sequence, fails the
// planned call and answers the close question with `answer`.
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

// A failed exchange ends with no handle open; the close question's Yes closes the handles at once,
// No leaves them to the closing steps after the exchange's last message.
TEST(GatewayFtpSession, FailuresShowTheirStepsInOrder) {
    const std::string extended = "InternetConnect Extd Err: 530 530 Login incorrect.";
    const std::string question = "\r\nClose Connection and Session?";
    const auto refused = std::pair{"connect", FtpStatus::ServerRefused};
    struct Case {
        const char* send; // the local file of a Send; none for a Get
        std::string host;
        std::pair<std::string, FtpStatus> failing;
        Answer answer;
        Log expected;
    };
    // clang-format off
    const Case cases[] = {
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
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        PlannedExchange planned;
        planned.failing = c.failing;
        planned.answer = c.answer;
        GatewayFtpSession session(planned, planned);
        const FtpLogin login{c.host, "root", "lumo"};
        EXPECT_FALSE(c.send ? session.send(login, c.send) : session.get(login, "/kym/x.cfg"));
        EXPECT_EQ(planned.log, c.expected);
        EXPECT_FALSE(session.connected() || session.sessionOpen() || session.connectionOpen());
    }
}

} // namespace
} // namespace kym
