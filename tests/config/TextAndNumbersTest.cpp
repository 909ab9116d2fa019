#include "config/Numbers.h"
#include "config/TextLines.h"
#include "support/TempDir.h"

#include <chrono>
#include <gtest/gtest.h>

namespace kym {
namespace {

TEST(SplitLines, LineEndsAndTheFinalPiece) {
    struct Case {
        std::string text;
        LineList lines;
    };
    const Case cases[] = {
        {"", {""}},
        {"A\r\nB\r\n", {"", "A", "B"}},
        {"A\nB\n", {"", "A", "B"}},
        {"A\r\nB", {"", "A", "B"}},
        {"A\r\n\r\n", {"", "A", ""}},
        {"\r\n", {"", ""}},
        {"A\r\r\nB\rC\n", {"", "A\r", "B\rC"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitLines(c.text), c.lines) << testing::PrintToString(c.text);
    EXPECT_EQ(withoutLineBreaks("1\r\nROW_DATA\n2"), "1ROW_DATA2");
}

TEST(InQuotes, AValueOverFortyCharactersIsCutAndCounted) {
    const std::string forty = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd";
    std::string accents;
    for (int i = 0; i < 41; ++i)
        accents += "\u00e9";
    const std::pair<std::string, std::string> cases[] = {
        {"", "\"\""},
        {forty, "\"" + forty + "\""},
        {forty + "e", "\"" + forty + "\u2026\" (41 characters)"},
        {forty + std::string(52428760, 'x'), "\"" + forty + "\u2026\" (52428800 characters)"},
        {accents, "\"" + accents.substr(0, 80) + "\u2026\" (41 characters)"}, // two bytes each
        {forty.substr(1) + "\u20ac\u20ac",
         "\"" + forty.substr(1) + "\u20ac\u2026\" (41 characters)"},
    };
    for (const auto& [text, quoted] : cases)
        EXPECT_EQ(inQuotes(text), quoted) << text.substr(0, 60);
}

// The size is checked before the file is opened, and again while reading in case it grows or is
// no regular file.
TEST(ReadLineFile, RefusesAFileOverOneMebibyte) {
    test::TempDir dir;
    struct Case {
        std::string name;
        std::filesystem::path path;
        std::uintmax_t size;
        std::string error; // empty when the file is read
    };
    const std::string limit = "; a register configuration is at most 1 MiB";
    const Case cases[] = {
        {"exactly 1 MiB", dir / "full.vlt", 1 << 20, ""},
        {"1 MiB and a byte", dir / "over.vlt", (1 << 20) + 1, "over.vlt is 1048577 bytes" + limit},
        {"200 MiB, sparse", dir / "huge.vlt", 200u << 20, "huge.vlt is 200 MiB" + limit},
        {"no regular file", "/dev/zero", 0, "zero is more than 1048576 bytes" + limit},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.size > 0) {
            test::writeFile(c.path, "CAPTURE\r\n");
            std::filesystem::resize_file(c.path, c.size);
        }
        const auto start = std::chrono::steady_clock::now();
        const auto lines = readLineFile(c.path);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        if (c.error.empty()) {
            ASSERT_TRUE(lines.ok()) << lines.error().reason;
            EXPECT_EQ(lines->at(1), "CAPTURE");
        } else {
            ASSERT_FALSE(lines.ok());
            EXPECT_EQ(lines.error().reason, c.error);
        }
    }
}

TEST(Numbers, LeadingNumberTakesTheNumberATextStartsWith) {
    const std::pair<std::string, double> cases[] = {{"abc", 0},    {"  12", 12}, {"4095x", 4095},
                                                    {"-.5", -0.5}, {"- 5", 0},   {"1 2", 1},
                                                    {".", 0},      {"\t5", 0}};
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(text), value) << '"' << text << '"';
}

TEST(Numbers, StrictWholeNumberRoundsTheWrittenValueHalfToEven) {
    constexpr std::int64_t kSaturated = 100000000000000000; // 10^17: far beyond every range used
    const std::pair<std::string, std::int64_t> numbers[] = {
        {"8", 8},
        {" 8 ", 8},
        {"-3", -3},
        {"+2.50", 2},
        {"3.5", 4},
        {"-2.5", -2},
        {"-0.5", 0},
        {".51", 1},
        {"7.", 7},
        {"0.49999", 0},
        {"00000000000000000000000012", 12},
        {"2.50000000000000001", 3},
        {"3.49999999999999999", 3},
        {"254.50000000000001", 255},
        {"2147483647.49999999999", 2147483647},
        {"-2147483648.50000001", -2147483649},
        {"123456789012345678901234567890", kSaturated},
        {"-99999999999999999999.9", -kSaturated}};
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(strictWholeNumber(text), value) << '"' << text << '"';
    for (const char* text : {"", " ", "\t5", "8;", "x8", "1e3", "- 1", ".", "1.2.3"})
        EXPECT_EQ(strictWholeNumber(text), std::nullopt) << '"' << text << '"';
}

TEST(Numbers, RoundHalfEven) {
    for (const auto& [value, rounded] : {std::pair{0.5, 0.0}, {1.5, 2.0}, {2.5, 2.0}, {-2.5, -2.0}})
        EXPECT_EQ(roundHalfEven(value), rounded) << value;
}

} // namespace
} // namespace kym
