#include "gateway/GatewayFtpSession.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kym {
namespace {

using Log = std::vector<std::string>;
using Answer = Prompter::Answer;

// Logs the client's calls and the user's messages in one sequence; fails and answers as planned.
class PlannedExchange : public FtpClient, public Prompter {
public:
    FtpStatus openSession() override { return step("open", open); }
    FtpStatus connect(const FtpLogin& login) override {
        return step("connect " + login.host, connectStatus);
    }
    FtpStatus getFile(std::string_view remote, const std::filesystem::path& local) override {
        return step("get " + std::string(remote) + " " + local.string(), transfer);
    }
    FtpStatus putFile(const std::filesystem::path& local, std::string_view remote) override {
        return step("put " + local.string() + " " + std::string(remote), transfer);
    }
    FtpResponse lastResponse() const override { return {530, "530 Login incorrect."}; }
    void closeConnection() override { log.push_back("close connection"); }
    void closeSession() override { log.push_back("close session"); }
    Answer show(const std::string& text, Buttons buttons, Icon) override {
        log.push_back((buttons == Buttons::YesNo ? "ask " : "msg ") + text);
        return buttons == Buttons::YesNo ? answer : Answer::Ok;
    }

    FtpStatus open = FtpStatus::Ok, connectStatus = FtpStatus::Ok, transfer = FtpStatus::Ok;
    Answer answer = Answer::No;
    Log log;

private:
    FtpStatus step(std::string call, FtpStatus status) {
        log.push_back(std::move(call));
        return status;
    }
};

const std::string kRefusedMessage = "msg InternetConnect Extd Err: 530 530 Login incorrect.";
const std::string kRefusedQuestion =
    "ask InternetConnect Err: 12003\r\nClose Connection and Session?";

// Every exchange ends with no handle open; the close question's Yes closes the handles at once,
// No leaves them to the closing steps after the exchange's last message.
TEST(GatewayFtpSession, ExchangesShowTheirStepsInOrder) {
    struct Case {
        const char* name;
        bool send;
        std::string host, file;
        FtpStatus open, connect, transfer;
        Answer answer;
        bool done;
        Log expected;
    };
    const auto ok = FtpStatus::Ok;
    // clang-format off
    const std::vector<Case> cases = {
        {"get", false, "gw", "", ok, ok, ok, Answer::No, true,
         {"open", "connect gw", "get config.cfg /kym/_config.cfg",
          "msg File has been placed in /kym/_config.cfg", "close connection", "close session"}},
        {"send", true, "gw", "/d/a 7.cfg", ok, ok, ok, Answer::No, true,
         {"open", "connect gw", "put /d/a 7.cfg config.cfg", "msg File has been sent",
          "close connection", "close session"}},
        {"refused login, Yes", false, "gw", "", ok, FtpStatus::ServerRefused, ok, Answer::Yes, false,
         {"open", "connect gw", kRefusedMessage, kRefusedQuestion, "close session",
          "msg Not in session"}},
        {"refused login, No", false, "gw", "", ok, FtpStatus::ServerRefused, ok, Answer::No, false,
         {"open", "connect gw", kRefusedMessage, kRefusedQuestion, "msg Not in session",
          "close session"}},
        {"no server: no extended error", true, "gw", "/d/a.cfg", ok, FtpStatus::CannotConnect, ok,
         Answer::Yes, false,
         {"open", "connect gw", "ask InternetConnect Err: 12029\r\nClose Connection and Session?",
          "close session", "msg Not in session"}},
        {"failed get, Yes", false, "gw", "", ok, ok, FtpStatus::Timeout, Answer::Yes, false,
         {"open", "connect gw", "get config.cfg /kym/_config.cfg",
          "ask FtpGetFile Err: 12002\r\nClose Connection and Session?", "close connection",
          "close session"}},
        {"send, no session", true, "gw", "/d/a.cfg", FtpStatus::Internal, ok, ok, Answer::No, false,
         {"open", "ask InternetOpen Err: 12004\r\nClose Connection and Session?",
          "msg Not in session"}},
        {"send, empty address", true, "", "/d/a.cfg", ok, ok, ok, Answer::No, false,
         {"open", "msg Please enter an IP Address for the Gateway!", "msg Not in session",
          "close session"}},
        {"send, no file", true, "gw", "", ok, ok, ok, Answer::No, false,
         {"open", "connect gw", "msg Please select a local file to send.", "close connection",
          "close session"}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PlannedExchange planned;
        planned.open = c.open;
        planned.connectStatus = c.connect;
        planned.transfer = c.transfer;
        planned.answer = c.answer;
        GatewayFtpSession session(planned, planned);
        const FtpLogin login{c.host, "root", "lumo"};
        EXPECT_EQ(c.send ? session.Send(login, c.file) : session.Get(login, "/kym/_config.cfg"),
                  c.done);
        EXPECT_EQ(planned.log, c.expected);
        EXPECT_FALSE(session.connected() || session.sessionOpen() || session.connectionOpen());
    }
}

} // namespace
} // namespace kym
