#include "config/Sha256.h"
#include "support/ConfigLines.h"
#include "support/TempDir.h"
#include "transfer/Frames.h"
#include "transfer/PortNames.h"
#include "transfer/ProgrammingRecord.h"
#include "transfer/SendSequence.h"
#include "transfer/SimulatedUnit.h"
#include "transfer/TransferSession.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace kym {
namespace {

using namespace std::chrono;

TEST(PortNames, EntriesTypedTextsAndWhatTheyOpen) {
#ifdef _WIN32
    const std::string com1 = "COM1", com8 = "COM8";
#else
    const std::string com1 = "/dev/ttyS0", com8 = "/dev/ttyS7";
#endif
    EXPECT_EQ(resolvePort("COM1", {}).location(), com1);
    EXPECT_EQ(resolvePort("COM8", {}).location(), com8);
    for (const std::string text : {"/dev/pts/4", R"(\\.\COM12)"})
        EXPECT_EQ(resolvePort(text, {}).location(), text);
    for (const char* unknown : {"COM9", "com1"})
        EXPECT_EQ(resolvePort(unknown, {}).location(), "") << unknown;
    // A detected port that is a COM entry's location is not offered twice.
    const auto entries = portEntries({com8, "/dev/ttyUSB0"});
    EXPECT_EQ(entries.size(), 9u);
    EXPECT_EQ(entries.back(), "/dev/ttyUSB0");
}

TEST(PortNames, ChangeNotes) {
    using Ports = std::vector<std::string>;
    const std::tuple<Ports, Ports, std::string, Ports> cases[] = {
        {{"ttyS0", "ttyUSB0"}, {"ttyUSB0", "ttyS0"}, "ttyUSB0", {}},
        {{"ttyS0"}, {"ttyS0", "ttyUSB0"}, "", {"new port: ttyUSB0"}},
        {{"ttyUSB0"}, {}, "ttyS0", {"port removed: ttyUSB0"}},
        {{"ttyUSB0"}, {"ttyUSB1"}, "ttyUSB0", {"open port removed: ttyUSB0", "new port: ttyUSB1"}}};
    for (const auto& [before, after, open, notes] : cases)
        EXPECT_EQ(portChangeNotes(before, after, open), notes) << notes.size();
}

// A settings text reads as what it says or not at all; the port itself is checked on a pty.
TEST(PortNames, LineSettingsTexts) {
    EXPECT_EQ(parseLineSettings("19200,N,8,1"), (LineSettings{19200, 'N', 8, 1}));
    EXPECT_EQ(parseLineSettings("9600,N,8,1"), (LineSettings{9600, 'N', 8, 1}));
    EXPECT_EQ(parseLineSettings("19200,E,7,2"), (LineSettings{19200, 'E', 7, 2}));
    for (const char* text :
         {"19200,X,8,1", "19200,N,9,1", "19200,N,4,1", "19200,N,8,3", "0,N,8,1", "19200,N,8"})
        EXPECT_EQ(parseLineSettings(text), std::nullopt) << text;
}

TEST(PortNames, AFailedOpenSaysWhatToDo) {
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
        {OpenFailure::Other, ""}};
    for (const auto& [failure, advice] : cases)
        EXPECT_EQ(cannotOpenReason(resolvePort("/dev/pts/3", {}), failure, "Said so"),
                  "/dev/pts/3: Said so" + advice);
}

using Bytes = std::vector<std::uint8_t>;
using Verdict = SendSequence::Verdict;
using Verdicts = std::vector<Verdict>;

const Bytes kAckReply{0x1B, 0x47, 0x4A, kAck, 0x39, 0xAB};

// Drives a sequence with events at milliseconds after its start and records what it asks for.
struct Script {
    explicit Script(std::string deviceType, std::optional<Bytes> frame = Bytes{0x1B, 0x47, 0x4A})
        : sequence(deviceType, std::move(frame)) {
        record(sequence.start(at(0)));
    }

    static SendSequence::TimePoint at(int ms) { return SendSequence::TimePoint{} + 1h + ms * 1ms; }
    Script& left(int ms) { return record(sequence.frameLeft(at(ms))); }
    Script& bytes(int ms, Bytes bytes) { return record(sequence.received(bytes, at(ms))); }
    Script& wake(int ms) { return record(sequence.wake(at(ms))); }
    Script& wakeWhenDue() { return record(sequence.wake(*last.wakeAt)); }
    int dueInMs() const { return static_cast<int>((*last.wakeAt - at(0)) / 1ms); }
    Script& record(SendSequence::Step step) {
        if (!step.frame.empty())
            frames.push_back(step.frame);
        if (step.verdict)
            verdicts.push_back(*step.verdict);
        EXPECT_NE(step.finished, step.wakeAt.has_value());
        last = std::move(step);
        return *this;
    }

    SendSequence sequence;
    SendSequence::Step last;
    std::vector<Bytes> frames;
    Verdicts verdicts;
};

TEST(SendSequence, RepliesByDeviceType) {
    const std::tuple<std::string, std::vector<Bytes>, bool> cases[] = {
        {"KYM3815", {kAckReply}, true},
        {"QX4815", {{0x1B}, {0x47, 0x4A}, {kAck}, {0x39, 0xAB}, {0x00}}, true},
        {"KYM3815", {{0x1B, 0x47, 0x4A, kAck}, {0x39, 0xAB, 0x00}}, false},
        {"KYM3815", {{0x1B, 0x47, 0x4A, kNak, 0x39, 0xAB}}, false},
        {"KYM3815", {{kEsc}}, false},
        {"QD4805", {{kEsc}}, true},
        {"QD4805", {{kEsc, kNak, 0x00}}, true},
        {"QD4805", {{kAck}, {kEsc}}, false},
        {"qd4805", {{kEsc}}, false},
        // The two-output receiver gets no follow-up without the first acknowledgement.
        {"QR4805", {{kAck}}, false},
        // An unknown type has no frame; six bytes that pass the test acknowledge all the same.
        {"XYZ", {kAckReply}, true}};
    for (const auto& [deviceType, pieces, acknowledged] : cases) {
        Script run(deviceType);
        run.left(5);
        for (const Bytes& piece : pieces)
            run.bytes(10, piece);
        if (!acknowledged)
            run.wakeWhenDue();
        EXPECT_EQ(run.verdicts, Verdicts{acknowledged ? Verdict::Acknowledged : Verdict::TimedOut})
            << deviceType << " " << pieces.size();
        EXPECT_TRUE(run.last.finished);
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
    EXPECT_TRUE(run.last.discardReceived); // the trailing bytes must not meet the follow-up
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
    EXPECT_TRUE(run.last.finished);

    Script unanswered("QR4805");
    unanswered.left(41).bytes(60, {kEsc}).wakeWhenDue().wakeWhenDue();
    EXPECT_EQ(unanswered.verdicts, (Verdicts{Verdict::Acknowledged, Verdict::TimedOut}));
}

// Only a whole frame of a known kind whose checksum is right, low byte first, gets a reply.
TEST(SimulatedUnit, Replies) {
    Bytes receiver{0x1B, 0x47, 0x4A};
    receiver.resize(77);
    const Bytes followUp{0x1B, 0x4E, 0x01, 0x01, 0x56, 0xE1};
    const auto with = [](Bytes frame, std::initializer_list<std::uint8_t> tail) {
        frame.insert(frame.end(), tail);
        return frame;
    };
    const Bytes good = with(receiver, {0x7F, 0x93});
    const std::tuple<Bytes, ReplyMode, std::vector<Bytes>> cases[] = {
        {good, ReplyMode::Acknowledge, {kAckReply}},
        {good, ReplyMode::Wrong, {{0x1B, 0x47, 0x4A, kNak, 0x23, 0x89}}},
        {good, ReplyMode::Pieces, {{0x1B, 0x47}, {0x4A, kAck}, {0x39, 0xAB}}},
        {good, ReplyMode::Silent, {}},
        {with(receiver, {0x93, 0x7F}), ReplyMode::Acknowledge, {}},
        {with(receiver, {0x7F, 0x94}), ReplyMode::Acknowledge, {}},
        {with(receiver, {0x00, 0x7F, 0x93}), ReplyMode::Acknowledge, {}},
        {followUp, ReplyMode::Acknowledge, {{kEsc}}},
        {followUp, ReplyMode::Wrong, {{kNak}}},
        {{0x1B, 0x4E, 0x01, 0x01, 0xE1, 0x56}, ReplyMode::Acknowledge, {}}};
    for (const auto& [frame, mode, reply] : cases)
        EXPECT_EQ(unitReply(frame, mode), reply) << frame.size() << " " << int(frame.back());
}

// The window's status boxes, the buttons that may be pressed and why a file cannot be sent.
using Event = void (*)(TransferSession&);
template <Verdict verdict> void sendEnded(TransferSession& session) {
    session.waitEnded(verdict);
    session.sendEnded();
}

TEST(TransferSession, EventsToStatusAndButtons) {
    const Event openOk = [](auto& s) { s.portOpened({3, {}}); };
    const Event openFailed = [](auto& s) { s.portOpenFailed({3, {}}, OpenFailure::Busy, "busy"); };
    const Event close = [](auto& s) { s.portClosed(); };
    const Event fileOk = [](auto& s) { s.fileRead("a.vlt", test::ConfigLines("KYM3815").text()); };
    const Event fileBad = [](auto& s) {
        s.fileRead("a.vlt",
                   test::ConfigLines("KYM3815").set("CAPTURE", "300").set("TIMEOUT", "256").text());
    };
    const Event missing = [](auto& s) { s.fileRead("a.vlt", Error{"No such file or directory"}); };
    const Event send = [](auto& s) { s.SendImage(); };
    const Event ack = sendEnded<Verdict::Acknowledged>;
    const Event timeOut = sendEnded<Verdict::TimedOut>;
    const Event lost = [](auto& s) { s.portLost("Input/output error"); };
    using enum BoxColour;
    const StatusBox disconnected{"Disconnected"};
    const StatusBox opened{"COM 3: Open at 19200,N,8,1", Green};
    const StatusBox ready{"File is ready to be sent.", Green};
    const StatusBox notReady{"Error reading file ", Desktop};
    const std::string idle = "openPort closePort btnSelect ";
    const std::string canSend = "closePort btnSelect btnSendFile ";
    const std::string closedIdle = "openPort btnSelect ";
    const std::string twoErrors = "a.vlt:2: CAPTURE \"300\" is outside 0 to 255\n"
                                  "a.vlt:18: TIMEOUT \"256\" is larger than 255";
    using Row = std::tuple<const char*, std::vector<Event>, StatusBox, StatusBox, StatusBox,
                           std::string, std::string>;
    const Row rows[] = {
        // clang-format off
        {"window opened", {}, disconnected, {}, {}, idle, ""},
        {"open failed", {openFailed}, {"Cannot open:  COM 3", Red}, {}, {}, idle, ""},
        {"another try after a failure", {openFailed, openOk}, opened, {}, {}, canSend, ""},
        {"close", {openOk, close}, {"Port Closed", Red}, {}, {}, closedIdle, ""},
        {"bad after good", {fileOk, fileBad}, disconnected, notReady, {}, idle, twoErrors},
        {"missing", {openOk, fileOk, missing, send}, opened, notReady,
         {"Error reading file. File cannot be sent.", Dark}, canSend,
         "a.vlt: No such file or directory"},
        {"a send locks the buttons", {openOk, fileOk, send}, opened, ready, {}, "", ""},
        {"acknowledged", {openOk, fileOk, send, ack}, opened, ready,
         {"Acknowledge Received", Green}, canSend, ""},
        {"timed out", {openOk, fileOk, send, timeOut}, opened, ready,
         {"Check Cable Connections", Desktop}, canSend, ""},
        {"port lost", {openOk, fileOk, send, lost}, {"Port lost: Input/output error", Red}, ready,
         {"Send stopped: the port was lost", Desktop}, closedIdle, ""},
        // clang-format on
    };
    for (const auto& [name, events, port, file, comm, enabled, fileProblem] : rows) {
        SCOPED_TRACE(name);
        int selectedUnit = 0;
        TransferSession session(selectedUnit);
        for (Event event : events)
            event(session);
        EXPECT_EQ(session.portStatus(), port);
        EXPECT_EQ(session.fileStatus(), file);
        EXPECT_EQ(session.commStatus(), comm);
        EXPECT_EQ(std::string(session.openPortEnabled() ? "openPort " : "") +
                      (session.closePortEnabled() ? "closePort " : "") +
                      (session.selectFileEnabled() ? "btnSelect " : "") +
                      (session.sendFileEnabled() ? "btnSendFile " : ""),
                  enabled);
        EXPECT_EQ(session.fileProblem(), fileProblem);
    }
}

// One line per send at its first outcome; the two-output receiver's follow-up adds none.
TEST(TransferSession, OneRecordEntryPerSend) {
    int selectedUnit = 0;
    TransferSession session(selectedUnit);
    session.portOpened(resolvePort("/dev/pts/3", {}));
    session.fileRead("a.vlt", test::ConfigLines("QR4805").text());
    EXPECT_FALSE(session.takeRecordEntry());

    ASSERT_TRUE(session.SendImage());
    session.waitEnded(Verdict::Acknowledged);
    EXPECT_EQ(session.takeRecordEntry(),
              (RecordEntry{"", "QR4805", "", "/dev/pts/3", "a.vlt",
                           "457fa700cc335162297a480977ebdf51d21d1c04fde01e1cc022ac553b74757e", 79,
                           "9A3E", "Acknowledge Received"}));
    session.waitEnded(Verdict::TimedOut);
    EXPECT_FALSE(session.takeRecordEntry());
    session.sendEnded();

    ASSERT_TRUE(session.SendImage());
    session.portLost("No such device");
    EXPECT_EQ(session.takeRecordEntry().value_or(RecordEntry{}).outcome,
              "Port lost: No such device");
}

TEST(Sha256, StandardVectors) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"}};
    for (const auto& [text, digest] : cases)
        EXPECT_EQ(sha256Hex(text), digest) << text.size() << " bytes";
}

TEST(Iso8601, OffsetsEitherSideOfUtc) {
    const sys_seconds instant = sys_days{2026y / 3 / 1} + 23h + 30min + 5s;
    const std::pair<minutes, std::string> cases[] = {{0min, "2026-03-01T23:30:05+00:00"},
                                                     {60min, "2026-03-02T00:30:05+01:00"},
                                                     {-330min, "2026-03-01T18:00:05-05:30"}};
    for (const auto& [offset, text] : cases)
        EXPECT_EQ(iso8601({instant, offset}), text) << offset.count();
}

// The offset of the system's zone, from its local calendar date and clock.
TEST(LocalNow, OffsetOfTheZone) {
#ifndef _WIN32
    const std::string zone = std::getenv("TZ") ? std::getenv("TZ") : "";
    const std::pair<const char*, minutes> cases[] = {
        {"UTC0", 0min}, {"IST-5:30", 330min}, {"BRT3", -180min}, {"NZST-12", 720min}};
    for (const auto& [tz, offset] : cases) {
        ::setenv("TZ", tz, 1);
        ::tzset();
        EXPECT_EQ(localNow().offset, offset) << tz;
    }
    zone.empty() ? ::unsetenv("TZ") : ::setenv("TZ", zone.c_str(), 1);
    ::tzset();
#endif
}

TEST(ProgrammingRecord, UnitTexts) {
    const std::tuple<std::string, int, std::string> cases[] = {{"QX4815", 1, "main"},
                                                               {"QX4815", 2, "extended 1"},
                                                               {"QX4815", 3, "extended 2"},
                                                               {"QX4815", 7, "7"},
                                                               {"KYM3815", 1, ""}};
    for (const auto& [type, unit, text] : cases)
        EXPECT_EQ(unitText(type, unit), text) << type << unit;
}

// One header per new file; fields read back the same whatever commas, quotes and breaks hold.
TEST(ProgrammingRecord, AppendsQuotedLinesUnderOneHeader) {
    test::TempDir dir;
    const ProgrammingRecord record(dir / "programming-record.csv", [] {
        return LocalTime{sys_days{2026y / 1 / 2}, 60min};
    });
    // The second has one field each with only a quote, only a line feed, only a comma.
    std::vector<RecordEntry> entries{
        {"", "KYM3815", "", "COM3", R"(C:\kym\kym3815\a.vlt)", "ab", 79, "1A2B",
         "Acknowledge Received"},
        {"", "QX4815", "extended 1", "tty\"q\"", "plant 7\n.vlt", "cd", 0, "", "Port lost: a, b"}};
    for (RecordEntry& entry : entries) {
        ASSERT_TRUE(record.append(entry));
        entry.time = "2026-01-02T01:00:00+01:00";
    }
    const std::string header =
        "time,device type,unit,port,file,sha256,frame length,frame checksum,outcome\r\n";
    EXPECT_EQ(test::readFile(record.file()),
              header +
                  "2026-01-02T01:00:00+01:00,KYM3815,,COM3,C:\\kym\\kym3815\\a.vlt,ab,79,1A2B,"
                  "Acknowledge Received\r\n"
                  "2026-01-02T01:00:00+01:00,QX4815,extended 1,\"tty\"\"q\"\"\",\"plant 7\n.vlt\","
                  "cd,0,,\"Port lost: a, b\"\r\n");
    const auto read = record.read();
    ASSERT_TRUE(read) << read.error().reason;
    EXPECT_EQ(*read, entries);

    EXPECT_TRUE(ProgrammingRecord(dir / "none.csv").read()->empty());
    test::writeFile(dir / "torn.csv", header + "a,b\r\n");
    EXPECT_EQ(ProgrammingRecord(dir / "torn.csv").read().error().reason,
              (dir / "torn.csv").string() + ":2: 2 fields where the record has 9");
}

} // namespace
} // namespace kym
