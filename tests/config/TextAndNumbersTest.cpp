#include "config/Numbers.h"
#include "config/TextLines.h"

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
