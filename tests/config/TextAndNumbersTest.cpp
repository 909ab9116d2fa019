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
    const std::pair<std::string, double> cases[] = {
        {"abc", 0}, {"  12", 12}, {"4095x", 4095}, {"-.5", -0.5}, {"- 5", 0}, {"1 2", 1}, {".", 0}};
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(text), value) << '"' << text << '"';
}

TEST(Numbers, StrictNumberAcceptsOnlyANumberBetweenBlanks) {
    const std::pair<std::string, std::optional<double>> cases[] = {
        {"8", 8},          {" 8 ", 8},        {"-3", -3},          {"+2.50", 2.5},
        {".25", 0.25},     {"7.", 7},         {"", std::nullopt},  {" ", std::nullopt},
        {"8;", std::nullopt}, {"x8", std::nullopt}, {"1e3", std::nullopt}, {"- 1", std::nullopt},
        {".", std::nullopt}, {"1.2.3", std::nullopt},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(strictNumber(text), value) << '"' << text << '"';
}

TEST(Numbers, RoundHalfEven) {
    for (const auto& [value, rounded] : {std::pair{0.5, 0.0}, {1.5, 2.0}, {2.5, 2.0}, {-2.5, -2.0}})
        EXPECT_EQ(roundHalfEven(value), rounded) << value;
}

} // namespace
} // namespace kym
