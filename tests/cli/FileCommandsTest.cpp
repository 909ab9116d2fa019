#include "config/TextLines.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace kym {
namespace {

test::ProcessResult kymtool(std::vector<std::string> args) {
    args.insert(args.begin(), KYMTOOL);
    return test::runProcess(args);
}

TEST(KymtoolNew, WritesTheNewDocumentOfEachType) {
    test::TempDir dir;
    const std::pair<std::string, std::size_t> cases[] = {
        {"KYM3815", 35}, {"QX4815", 51}, {"QR4805", 35}, {"QD4815", 35}, {"QD4805", 35}};
    for (const auto& [type, lines] : cases) {
        const auto path = dir / (type + ".vlt");
        const auto run = kymtool({"new", type, path.string()});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const auto text = test::readFile(path);
        EXPECT_EQ(splitLines(text).size(), lines) << type;
        EXPECT_EQ(splitLines(text)[4], type);
        EXPECT_TRUE(text.ends_with(";\r\n\r\n"));
    }
    EXPECT_EQ(splitLines(test::readFile(dir / "QD4805.vlt"))[30], ",1,DIGITAL,,,;");
}

TEST(KymtoolNew, RefusesAnUnknownTypeAndAppendsTheExtension) {
    test::TempDir dir;
    EXPECT_EQ(kymtool({"new", "kym3815", (dir / "x.vlt").string()}).exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "x.vlt"));
    EXPECT_EQ(kymtool({"new", "KYM3815", (dir / "plain").string()}).exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "plain.vlt"));
}

TEST(KymtoolResave, RewritesWhatOpenReadsAndReportsReadErrors) {
    test::TempDir dir;
    const auto in = dir / "in.vlt";
    test::writeFile(in, "NETWORK_ID\nabc\nDEVICE_TYPE\nQR4805\nCOLUMN_NAMES\n5\nx:\nROW_DATA\n2\n1,2,3,4,5,6,7,\n\nTIMEOUT\n7\n");
    const auto run = kymtool({"resave", in.string(), (dir / "out.vlt").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto lines = splitLines(test::readFile(dir / "out.vlt"));
    EXPECT_EQ(lines[18], "30"); // TIMEOUT passed over: it stands right after the last row
    EXPECT_EQ(lines[20], "abc");
    EXPECT_EQ(lines[26], "1,2,3,4,5,;");

    test::writeFile(in, "DEVICE_TYPE\nKYM3815\nCOLUMN_NAMES\n5\n\nROW_DATA\n12\n");
    const auto bad = kymtool({"resave", in.string(), (dir / "bad.vlt").string()});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_EQ(bad.err, in.string() + ":7: ROW_DATA count 12 is larger than the 8 register rows of the grid\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.vlt"));

    EXPECT_EQ(kymtool({"resave", (dir / "none.vlt").string(), (dir / "o.vlt").string()}).exitCode, 1);
}

} // namespace
} // namespace kym
