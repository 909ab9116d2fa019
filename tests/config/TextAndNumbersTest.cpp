#include "config/CodePage.h"
#include "config/Numbers.h"
#include "config/TextLines.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <set>

namespace kym {
namespace {

TEST(SplitLines, LineEndsAndTheFinalPiece) {
    const std::pair<std::string, LineList> cases[] = {
        {"", {""}},
        {"A\r\nB\r\n", {"", "A", "B"}},
        {"A\nB", {"", "A", "B"}},
        {"A\r\n\r\n\n", {"", "A", "", ""}},
        {"A\r\r\nB\rC\n", {"", "A\r", "B\rC"}},
    };
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(splitLines(text), lines) << testing::PrintToString(text);
    EXPECT_EQ(withoutLineBreaks("1\r\nROW_DATA\n2"), "1ROW_DATA2");
}

// inQuotes takes Windows-1252 file text, utf8InQuotes UTF-8; both cut after 40 characters.
TEST(InQuotes, AValueOverFortyCharactersIsCutAndCounted) {
    const std::string forty = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd";
    std::string accents;
    for (int i = 0; i < 41; ++i)
        accents += "\u00e9";
    const struct {
        bool fileText;
        std::string text;
        std::string quoted;
    } cases[] = {
        {true, forty, "\"" + forty + "\""},
        {true, forty + std::string(52428760, 'x'), "\"" + forty + "\u2026\" (52428800 characters)"},
        {true, "caf\xE9 \x80\x85", "\"caf\u00e9 \u20ac\u2026\""},
        {true, std::string(41, '\xE9'), "\"" + accents.substr(0, 80) + "\u2026\" (41 characters)"},
        {false, accents,
         "\"" + accents.substr(0, 80) + "\u2026\" (41 characters)"}, // two bytes each
        {false, forty.substr(1) + "\u20ac\u20ac",
         "\"" + forty.substr(1) + "\u20ac\u2026\" (41 characters)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.fileText ? inQuotes(c.text) : utf8InQuotes(c.text), c.quoted)
            << c.text.substr(0, 60);
}

TEST(CodePage, EveryByteRoundTripsAndOthersBecomeQuestionMarks) {
    std::set<std::string> characters;
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string text = utf8FromCp1252(byte);
        characters.insert(text);
        EXPECT_EQ(cp1252FromUtf8(text), byte) << b;
    }
    EXPECT_EQ(characters.size(), 256u);
    EXPECT_EQ(utf8FromCp1252(std::string("\x80\x81\x8D\x8F\x90\x9D\x9F\0\x7F\xA0\xE9\xFF", 12)),
              "\u20ac\u0081\u008d\u008f\u0090\u009d\u0178" + std::string("\0\x7F", 2) +
                  "\u00a0\u00e9\u00ff");
    const std::pair<std::string, std::string> toBytes[] = {
        {"\u03a9 \u65e5\u672c \U0001F600", "? ?? ?"}, // not in the code page
        {"\u0080\u009f", "??"},                       // C1 controls Windows-1252 uses otherwise
        {"\xFF\xC3z\xE2\x82", "??z??"},               // not UTF-8
        {"\xC0\xAF\xED\xA0\x80", "?????"},            // overlong, surrogate
    };
    for (const auto& [text, bytes] : toBytes)
        EXPECT_EQ(cp1252FromUtf8(text), bytes) << text;
}

TEST(ReadLineFile, RefusesAFileOverOneMebibyte) {
    test::TempDir dir;
    const std::string limit = "; a register configuration is at most 1 MiB";
    std::vector<std::tuple<std::string, std::uintmax_t, std::string>> cases = {
        {"full.vlt", 1 << 20, "CAPTURE"},
        {"over.vlt", (1 << 20) + 1, "the file is 1048577 bytes" + limit},
        {"huge.vlt", 200u << 20, "the file is 200 MiB" + limit}, // sparse
    };
#ifndef _WIN32
    cases.push_back({"/dev/zero", 0, "the file is more than 1048576 bytes" + limit});
#endif
    for (const auto& [name, size, read] : cases) {
        const std::filesystem::path path = dir / name; // an absolute name stays as it is
        if (size > 0) {
            test::writeFile(path, "CAPTURE\r\n");
            std::filesystem::resize_file(path, size);
        }
        const auto lines = readLineFile(path);
        EXPECT_EQ(lines.ok() ? lines->at(1) : lines.error().reason, read) << name;
    }
}

// strictWholeNumber takes only a text that is one number, rounded half to even as written.
TEST(Numbers, LeadingAndStrictWholeNumbers) {
    constexpr std::int64_t kSaturated = 100000000000000000; // 10^17: far beyond every range used
    const struct {
        std::string text;
        double leading;
        std::optional<std::int64_t> whole;
    } cases[] = {
        // clang-format off
        {"", 0, {}}, {"abc", 0, {}}, {"4095x", 4095, {}}, {"\t5", 0, {}}, {"- 5", 0, {}},
        {"1 2", 1, {}}, {".", 0, {}}, {"1e3", 1, {}}, {"1.2.3", 1.2, {}}, {"  12 ", 12, 12},
        {"-.5", -0.5, 0}, {"+2.50", 2.5, 2}, {"3.5", 3.5, 4}, {"-2.5", -2.5, -2}, {"7.", 7, 7},
        {".51", 0.51, 1}, {"0.49999", 0.49999, 0}, {"00000000000000000000000012", 12, 12},
        {"2.50000000000000001", 2.5, 3}, {"3.49999999999999999", 3.5, 3},
        {"-2147483648.50000001", -2147483648.5, -2147483649},
        {"123456789012345678901234567890", 1.2345678901234568e29, kSaturated},
        {"-99999999999999999999.9", -1e20, -kSaturated},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(leadingNumber(c.text), c.leading) << '"' << c.text << '"';
        EXPECT_EQ(strictWholeNumber(c.text), c.whole) << '"' << c.text << '"';
    }
    for (const auto& [value, rounded] : {std::pair{0.5, 0.0}, {1.5, 2.0}, {2.5, 2.0}, {-2.5, -2.0}})
        EXPECT_EQ(roundHalfEven(value), rounded) << value;
}

} // namespace
} // namespace kym
