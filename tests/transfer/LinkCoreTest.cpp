#include "support/ConfigLines.h"
#include "transfer/Frames.h"
#include "transfer/PortNames.h"
#include "transfer/SendSequence.h"
#include "transfer/SimulatedUnit.h"
#include "transfer/TransferSession.h"

#include <gtest/gtest.h>

namespace kym {
namespace {

// The typed or chosen text and what opens: COMn where the system has COM names.
TEST(PortNames, EntriesTypedTextsAndWhatTheyOpen) {
#ifdef _WIN32
    const std::string com1 = "COM1", com8 = "COM8";
#else
    const std::string com1 = "/dev/ttyS0", com8 = "/dev/ttyS7";
#endif
    const std::pair<std::string, std::string> cases[] = {
        {"COM1", com1},
        {"COM8", com8},
        {"/dev/pts/4", "/dev/pts/4"},
        {R"(\\.\COM12)", R"(\\.\COM12)"},
        {"COM9", ""},
        {"com1", ""},
    };
    for (const auto& [text, location] : cases)
        EXPECT_EQ(resolvePort(text, {}).location(), location) << text;
}

// Ports that come and go between two looks, the open one named as such.
TEST(PortNames, ChangeNotes) {
    using Ports = std::vector<std::string>;
    const struct {
        const char* name;
        Ports before, after;
        std::string open;
        Ports notes;
    } rows[] = {
        // clang-format off
        {"unchanged, order aside", {"/dev/ttyS0", "/dev/ttyUSB0"}, {"/dev/ttyUSB0", "/dev/ttyS0"},
         "/dev/ttyUSB0", {}},
        {"plugged in", {"/dev/ttyS0"}, {"/dev/ttyS0", "/dev/ttyUSB0"}, "",
         {"new port: /dev/ttyUSB0"}},
        {"closed port unplugged", {"/dev/ttyUSB0"}, {}, "/dev/ttyS0",
         {"port removed: /dev/ttyUSB0"}},
        {"open port unplugged, another in", {"/dev/ttyUSB0"}, {"/dev/ttyUSB1"}, "/dev/ttyUSB0",
         {"open port removed: /dev/ttyUSB0", "new port: /dev/ttyUSB1"}},
        // clang-format on
    };
    for (const auto& row : rows)
        EXPECT_EQ(portChangeNotes(row.before, row.after, row.open), row.notes) << row.name;
}

// A settings text reads as what it says or not at all; the port itself is checked on a pty.
TEST(PortNames, LineSettingsTexts) {
    const std::optional<LineSettings> none;
    const std::pair<std::string, std::optional<LineSettings>> cases[] = {
        // clang-format off
        {"19200,N,8,1", LineSettings{19200, 'N', 8, 1}}, {"9600,N,8,1", LineSettings{9600, 'N', 8, 1}},
        {"19200,E,7,2", LineSettings{19200, 'E', 7, 2}}, {"19200,X,8,1", none}, {"19200,N,9,1", none},
        {"19200,N,4,1", none}, {"19200,N,8,3", none}, {"0,N,8,1", none}, {"19200,N,8", none}};
    // clang-format on
    for (const auto& [text, line] : cases)
        EXPECT_EQ(parseLineSettings(text), line) << text;
}

using Bytes = std::vector<std::uint8_t>;
using Verdict = SendSequence::Verdict;
using Verdicts = std::vector<Verdict>;
using namespace std::chrono_literals;

const Bytes kAckReply{0x1B, 0x47, 0x4A, kAck, 0x39, 0xAB};

// Drives a sequence with events at milliseconds after its start and records what it asks for.
class Script {
public:
    explicit Script(std::string deviceType, std::optional<Bytes> frame = Bytes{0x1B, 0x47, 0x4A})
        : sequence_(deviceType, std::move(frame)) {
        record(sequence_.start(at(0)));
    }

    Script& left(int ms) { return record(sequence_.frameLeft(at(ms))); }
    Script& bytes(int ms, Bytes bytes) { return record(sequence_.received(bytes, at(ms))); }
    Script& wake(int ms) { return record(sequence_.wake(at(ms))); }
    Script& wakeWhenDue() { return record(sequence_.wake(*last_.wakeAt)); }
    int dueInMs() const { return static_cast<int>((*last_.wakeAt - at(0)) / 1ms); }

    std::vector<Bytes> frames;
    Verdicts verdicts;
    bool discardedAtAck = false;
    bool finished = false;

private:
    static SendSequence::TimePoint at(int ms) {
        return SendSequence::TimePoint{} + 1h + std::chrono::milliseconds(ms);
    }
    Script& record(SendSequence::Step step) {
        if (!step.frame.empty())
            frames.push_back(step.frame);
        if (step.verdict == Verdict::Acknowledged)
            discardedAtAck = step.discardReceived;
        if (step.verdict)
            verdicts.push_back(*step.verdict);
        finished = step.finished;
        EXPECT_NE(step.finished, step.wakeAt.has_value());
        last_ = std::move(step);
        return *this;
    }

    SendSequence sequence_;
    SendSequence::Step last_;
};

TEST(SendSequence, RepliesByDeviceType) {
    const std::tuple<std::string, std::vector<Bytes>, bool> cases[] = {
        {"KYM3815", {kAckReply}, true},
        {"QX4815", {{0x1B}, {0x47, 0x4A}, {kAck}, {0x39, 0xAB}, {0x00}}, true},
        {"KYM3815", {{0x1B, 0x47, 0x4A, kAck}, {0x39, 0xAB, 0x00}}, false},
        {"KYM3815", {{0x1B, 0x47, 0x4A, kAck, 0x39, 0xAB, 0x00}}, false},
        {"KYM3815", {{0x1B, 0x47, 0x4A, kNak, 0x39, 0xAB}}, false},
        {"KYM3815", {{kEsc}}, false},
        {"QD4805", {{kEsc}}, true},
        {"QD4805", {{kEsc, kNak, 0x00}}, true},
        {"QD4805", {{kAck}, {kEsc}}, false},
        {"qd4805", {{kEsc}}, false},
        // The two-output receiver gets no follow-up without the first acknowledgement.
        {"QR4805", {{kAck}}, false},
        // An unknown type has no frame; six bytes that pass the test acknowledge all the same.
        {"XYZ", {kAckReply}, true},
    };
    for (const auto& [deviceType, pieces, acknowledged] : cases) {
        Script run(deviceType);
        run.left(5);
        for (const Bytes& piece : pieces)
            run.bytes(10, piece);
        if (!acknowledged)
            run.wakeWhenDue();
        EXPECT_EQ(run.verdicts, Verdicts{acknowledged ? Verdict::Acknowledged : Verdict::TimedOut})
            << deviceType << " " << pieces.size();
        EXPECT_TRUE(run.finished);
        EXPECT_EQ(run.frames.size(), 1u);
    }
}

TEST(SendSequence, TheTimeOutCountsFromTheLastFrameByteAndNothingIsResent) {
    Script run("KYM3815");
    EXPECT_EQ(run.dueInMs(), 2000);
    run.left(40).bytes(100, {0x1B, 0x47});
    EXPECT_EQ(run.dueInMs(), 2040);
    run.wake(2039);
    EXPECT_TRUE(run.verdicts.empty());
    run.wake(2040).bytes(2100, {0x4A, kAck, 0x39, 0xAB}).wake(5000);
    EXPECT_EQ(run.verdicts, Verdicts{Verdict::TimedOut});
    EXPECT_EQ(run.frames.size(), 1u);

    Script nothing("XYZ", std::nullopt);
    EXPECT_TRUE(nothing.frames.empty());
}

TEST(SendSequence, TwoOutputReceiverPausesOneSecondBeforeTheFollowUp) {
    Script run("QR4805");
    run.left(41).bytes(60, {kEsc, 0x00});
    EXPECT_EQ(run.verdicts, Verdicts{Verdict::Acknowledged});
    EXPECT_TRUE(run.discardedAtAck); // the trailing bytes must not meet the follow-up
    EXPECT_EQ(run.dueInMs(), 1060);
    // What trails into the pause answers nothing.
    run.bytes(500, {kEsc}).wake(1059);
    EXPECT_EQ(run.frames.size(), 1u);
    run.wake(1060);
    ASSERT_EQ(run.frames.size(), 2u);
    EXPECT_EQ(run.frames[1], (Bytes{0x1B, 0x4E, 0x01, 0x01, 0x56, 0xE1}));
    run.left(1063);
    EXPECT_EQ(run.dueInMs(), 3063);
    run.bytes(1070, {kEsc});
    EXPECT_EQ(run.verdicts, (Verdicts{Verdict::Acknowledged, Verdict::Acknowledged}));
    EXPECT_TRUE(run.finished);

    Script unanswered("QR4805");
    unanswered.left(41).bytes(60, {kEsc}).wakeWhenDue().wakeWhenDue();
    EXPECT_EQ(unanswered.verdicts, (Verdicts{Verdict::Acknowledged, Verdict::TimedOut}));
}

// The simulated unit answers only a whole frame of a known kind whose checksum is right, low byte
// first; a 6-byte reply carries its own checksum the same way.
TEST(SimulatedUnit, Replies) {
    Bytes receiver{0x1B, 0x47, 0x4A};
    receiver.resize(77);
    const Bytes followUp{0x1B, 0x4E, 0x01, 0x01, 0x56, 0xE1};
    const auto with = [](Bytes frame, std::initializer_list<std::uint8_t> tail) {
        frame.insert(frame.end(), tail);
        return frame;
    };
    using Pieces = std::vector<Bytes>;
    const std::tuple<Bytes, ReplyMode, Pieces> cases[] = {
        {with(receiver, {0x7F, 0x93}), ReplyMode::Acknowledge, {kAckReply}},
        {with(receiver, {0x7F, 0x93}), ReplyMode::Wrong, {{0x1B, 0x47, 0x4A, kNak, 0x23, 0x89}}},
        {with(receiver, {0x7F, 0x93}),
         ReplyMode::Pieces,
         {{0x1B, 0x47}, {0x4A, kAck}, {0x39, 0xAB}}},
        {with(receiver, {0x7F, 0x93}), ReplyMode::Silent, {}},
        {with(receiver, {0x93, 0x7F}), ReplyMode::Acknowledge, {}},
        {with(receiver, {0x7F, 0x94}), ReplyMode::Acknowledge, {}},
        {with(receiver, {0x00, 0x7F, 0x93}), ReplyMode::Acknowledge, {}},
        {followUp, ReplyMode::Acknowledge, {{kEsc}}},
        {followUp, ReplyMode::Wrong, {{kNak}}},
        {{0x1B, 0x4E, 0x01, 0x01, 0xE1, 0x56}, ReplyMode::Acknowledge, {}},
    };
    for (const auto& [frame, mode, reply] : cases)
        EXPECT_EQ(unitReply(frame, mode), reply) << frame.size() << " " << int(frame.back());
}

// What the transfer window shows after a series of events: its status boxes, the buttons that may
// be pressed and why a file cannot be sent.
using Event = void (*)(TransferSession&);
struct SessionRow {
    const char* name;
    std::vector<Event> events;
    StatusBox port, file, comm;
    std::string enabled, fileProblem;
};

template <Verdict verdict> void sendEnded(TransferSession& session) {
    session.waitEnded(verdict);
    session.sendEnded();
}

TEST(TransferSession, EventsToStatusAndButtons) {
    const Event openOk = [](TransferSession& s) { s.portOpened({3, {}}); };
    const Event openFailed = [](TransferSession& s) {
        s.portOpenFailed({3, {}}, OpenFailure::Busy, "Device or resource busy");
    };
    const Event close = [](TransferSession& s) { s.portClosed(); };
    const Event fileOk = [](TransferSession& s) {
        s.fileRead("unit.vlt", test::ConfigLines("KYM3815").text());
    };
    const Event fileBad = [](TransferSession& s) {
        s.fileRead("unit.vlt",
                   test::ConfigLines("KYM3815").set("CAPTURE", "300").set("TIMEOUT", "256").text());
    };
    const Event missing = [](TransferSession& s) {
        s.fileRead("unit.vlt", Error{"No such file or directory"});
    };
    const Event send = [](TransferSession& s) { s.SendImage(); };
    const Event ack = sendEnded<Verdict::Acknowledged>;
    const Event timeOut = sendEnded<Verdict::TimedOut>;
    const Event lost = [](TransferSession& s) { s.portLost("Input/output error"); };
    using enum BoxColour;
    const StatusBox none;
    const StatusBox disconnected{"Disconnected"};
    const StatusBox opened{"COM 3: Open at 19200,N,8,1", Green};
    const StatusBox ready{"File is ready to be sent.", Green};
    const StatusBox notReady{"Error reading file ", Desktop};
    const StatusBox refused{"Error reading file. File cannot be sent.", Dark};
    const StatusBox acked{"Acknowledge Received", Green};
    const StatusBox timedOut{"Check Cable Connections", Desktop};
    const StatusBox portLost{"Port lost: Input/output error", Red};
    const StatusBox stopped{"Send stopped: the port was lost", Desktop};
    const std::string idle = "openPort closePort btnSelect";
    const std::string canSend = "closePort btnSelect btnSendFile";
    const std::string closedIdle = "openPort btnSelect";
    const std::string twoErrors = "unit.vlt:2: CAPTURE \"300\" is outside 0 to 255\n"
                                  "unit.vlt:18: TIMEOUT \"256\" is larger than 255";
    const std::string noFile = "unit.vlt: No such file or directory";
    const SessionRow rows[] = {
        {"window opened", {}, disconnected, none, none, idle, ""},
        {"open failed", {openFailed}, {"Cannot open:  COM 3", Red}, none, none, idle, ""},
        {"another try after a failure", {openFailed, openOk}, opened, none, none, canSend, ""},
        {"close", {openOk, close}, {"Port Closed", Red}, none, none, closedIdle, ""},
        {"bad after good", {fileOk, fileBad}, disconnected, notReady, none, idle, twoErrors},
        {"missing", {openOk, fileOk, missing, send}, opened, notReady, refused, canSend, noFile},
        {"a send locks the buttons", {openOk, fileOk, send}, opened, ready, none, "", ""},
        {"acknowledged", {openOk, fileOk, send, ack}, opened, ready, acked, canSend, ""},
        {"timed out", {openOk, fileOk, send, timeOut}, opened, ready, timedOut, canSend, ""},
        {"port lost", {openOk, fileOk, send, lost}, portLost, ready, stopped, closedIdle, ""},
    };
    for (const SessionRow& row : rows) {
        SCOPED_TRACE(row.name);
        int selectedUnit = 0;
        TransferSession session(selectedUnit);
        for (Event event : row.events)
            event(session);
        EXPECT_EQ(session.portStatus(), row.port);
        EXPECT_EQ(session.fileStatus(), row.file);
        EXPECT_EQ(session.commStatus(), row.comm);
        const std::pair<const char*, bool> buttons[] = {{"openPort", session.openPortEnabled()},
                                                        {"closePort", session.closePortEnabled()},
                                                        {"btnSelect", session.selectFileEnabled()},
                                                        {"btnSendFile", session.sendFileEnabled()}};
        std::string enabled;
        for (const auto& [name, on] : buttons)
            enabled += on ? (enabled.empty() ? "" : " ") + std::string(name) : "";
        EXPECT_EQ(enabled, row.enabled);
        EXPECT_EQ(session.fileProblem(), row.fileProblem);
    }
}

// Why a port did not open: the system's words and what to do about them.
TEST(TransferSession, AFailedOpenSaysWhatToDo) {
#ifdef _WIN32
    const std::string dialout = ".";
#else
    const std::string dialout = ": your user must be in the dialout group (sudo usermod -aG "
                                "dialout $USER, then log in again).";
#endif
    const std::pair<OpenFailure, std::string> cases[] = {
        {OpenFailure::NotFound,
         ". There is no such port: check the name and that the adapter is plugged in."},
        {OpenFailure::Busy,
         ". Another program is using the port: close it there or choose another port."},
        {OpenFailure::PermissionDenied, ". You are not allowed to use the port" + dialout},
        {OpenFailure::Other, ""},
    };
    for (const auto& [failure, advice] : cases) {
        int selectedUnit = 0;
        TransferSession session(selectedUnit);
        session.portOpenFailed(resolvePort("/dev/pts/3", {}), failure, "Said so");
        EXPECT_EQ(session.portProblem(), "/dev/pts/3: Said so" + advice);
    }
}

} // namespace
} // namespace kym
