#include "transfer/ProgrammingRecord.h"

#include "config/Sha256.h"
#include "support/ConfigLines.h"
#include "support/TempDir.h"
#include "transfer/TransferSession.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

namespace kym {
namespace {

using namespace std::chrono;

TEST(Sha256, StandardVectors) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [text, digest] : cases)
        EXPECT_EQ(sha256Hex(text), digest) << text.size() << " bytes";
}

TEST(Iso8601, OffsetsEitherSideOfUtc) {
    const sys_seconds instant = sys_days{2026y / 3 / 1} + 23h + 30min + 5s;
    const std::pair<minutes, std::string> cases[] = {
        {0min, "2026-03-01T23:30:05+00:00"},
        {60min, "2026-03-02T00:30:05+01:00"},
        {-330min, "2026-03-01T18:00:05-05:30"},
    };
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
    const std::tuple<std::string, int, std::string> cases[] = {
        {"QX4815", 1, "main"}, {"QX4815", 2, "extended 1"}, {"QX4815", 3, "extended 2"},
        {"QX4815", 7, "7"},    {"KYM3815", 1, ""},
    };
    for (const auto& [type, unit, text] : cases)
        EXPECT_EQ(unitText(type, unit), text) << type << unit;
}

// Lines are appended with the header only at the start of a new file, and what is written reads
// back the same whatever commas, quotes and line breaks the fields hold.
TEST(ProgrammingRecord, AppendsQuotedLinesUnderOneHeader) {
    test::TempDir dir;
    const ProgrammingRecord record(dir / "programming-record.csv", [] {
        return LocalTime{sys_days{2026y / 1 / 2}, 60min};
    });
    // clang-format off
    RecordEntry plain{"", "KYM3815", "", "COM3", R"(C:\kym\kym3815\a.vlt)", "ab", 79, "1A2B",
                      "Acknowledge Received"};
    // One field each with only a quote, only a line feed, only a comma.
    RecordEntry awkward{"", "QX4815", "extended 1", "tty\"q\"", "plant 7\n.vlt", "cd", 0, "",
                        "Port lost: a, b"};
    // clang-format on
    const std::string header =
        "time,device type,unit,port,file,sha256,frame length,frame checksum,outcome\r\n";
    ASSERT_TRUE(record.append(plain));
    ASSERT_TRUE(record.append(awkward));
    plain.time = awkward.time = "2026-01-02T01:00:00+01:00";
    EXPECT_EQ(test::readFile(record.file()),
              header + plain.time +
                  ",KYM3815,,COM3,C:\\kym\\kym3815\\a.vlt,ab,79,1A2B,Acknowledge Received\r\n" +
                  plain.time +
                  ",QX4815,extended 1,\"tty\"\"q\"\"\",\"plant 7\n.vlt\",cd,0,,\"Port lost: a, "
                  "b\"\r\n");
    const auto read = record.read();
    ASSERT_TRUE(read) << read.error().reason;
    EXPECT_EQ(*read, (std::vector{plain, awkward}));

    EXPECT_TRUE(ProgrammingRecord(dir / "none.csv").read()->empty());
    test::writeFile(dir / "torn.csv", header + "a,b\r\n");
    EXPECT_EQ(ProgrammingRecord(dir / "torn.csv").read().error().reason,
              (dir / "torn.csv").string() + ":2: 2 fields where the record has 9");
    const auto unwritable = ProgrammingRecord(dir / "torn.csv" / "x.csv").append(plain);
    ASSERT_FALSE(unwritable);
    EXPECT_TRUE(unwritable.error().reason.starts_with(
        "The programming record " + (dir / "torn.csv" / "x.csv").string() + " was not written: "))
        << unwritable.error().reason;
}

// One line per send at its first outcome, the frame's length and checksum with it; the
// two-output receiver's follow-up adds none.
TEST(TransferSession, OneRecordEntryPerSend) {
    using enum SendSequence::Verdict;
    const std::string text = test::ConfigLines("QR4805").text();
    int selectedUnit = 0;
    TransferSession session(selectedUnit);
    session.portOpened(resolvePort("/dev/pts/3", {}));
    session.fileRead("a.vlt", text);
    EXPECT_FALSE(session.takeRecordEntry());

    ASSERT_TRUE(session.SendImage());
    session.waitEnded(Acknowledged);
    const auto first = session.takeRecordEntry();
    ASSERT_TRUE(first);
    EXPECT_EQ(*first,
              (RecordEntry{"", "QR4805", "", "/dev/pts/3", "a.vlt",
                           "457fa700cc335162297a480977ebdf51d21d1c04fde01e1cc022ac553b74757e", 79,
                           "9A3E", "Acknowledge Received"}));
    session.waitEnded(TimedOut);
    EXPECT_FALSE(session.takeRecordEntry());
    session.sendEnded();

    ASSERT_TRUE(session.SendImage());
    session.portLost("No such device");
    const auto lost = session.takeRecordEntry();
    ASSERT_TRUE(lost);
    EXPECT_EQ(lost->outcome, "Port lost: No such device");
    session.recordWritten(Error{"full"});
    EXPECT_EQ(session.recordProblem(), "full");
}

} // namespace
} // namespace kym
