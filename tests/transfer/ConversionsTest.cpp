#include "transfer/Conversions.h"

#include <gtest/gtest.h>
#include <string_view>
#include <vector>

namespace kym {
namespace {

TEST(Conversions, DigitValues) {
    struct Case {
        char digit;
        int hex;
        int decimal;
    };
    const Case cases[] = {
        {'0', 0, 0}, {'7', 7, 7}, {'9', 9, 9}, {'A', 10, 0}, {'F', 15, 0}, {'a', 0, 0},
        {'f', 0, 0}, {'G', 0, 0}, {' ', 0, 0}, {'-', 0, 0},  {'.', 0, 0},  {'\0', 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HexDigitValue(c.digit), c.hex) << c.digit;
        EXPECT_EQ(DecimalDigitValue(c.digit), c.decimal) << c.digit;
    }
}

TEST(Conversions, HexBytesUseTheLastFourDigits) {
    struct Case {
        std::string_view text;
        int high;
        int low;
    };
    const Case cases[] = {
        {"", 0x00, 0x01},     {"7", 0x00, 0x07},     {"A5", 0x00, 0xA5},    {"171", 0x01, 0x71},
        {"0002", 0x00, 0x02}, {"1A2B", 0x1A, 0x2B},  {"1A2B3", 0xA2, 0xB3}, {"FFFFF", 0xFF, 0xFF},
        {"ab12", 0x00, 0x12}, {"00a5", 0x00, 0x05},  {"G1", 0x00, 0x01},    {"9ZZ", 0x09, 0x00},
        {"-1", 0x00, 0x01},   {"12 34", 0x20, 0x34},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HexHighByte(c.text), c.high) << c.text;
        EXPECT_EQ(HexLowByte(c.text), c.low) << c.text;
    }
}

TEST(Conversions, DecimalByteOfOneToThreeDigits) {
    struct Case {
        std::string_view text;
        std::optional<std::uint8_t> byte;
    };
    const Case cases[] = {
        {"", 0},
        {"7", 7},
        {"42", 42},
        {"255", 255},
        {"256", std::nullopt},
        {"999", std::nullopt},
        {"007", 7},
        {"1000", 0},
        {"12345", 0},
        {"1a", 10},
        {"5 ", 50},
        {" 5", 5},
        {"-1", 1},
        {"x", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecimalByte(c.text), c.byte) << c.text;
}

TEST(Conversions, FrameCrcIsX25) {
    const std::string_view digits = "123456789";
    const std::vector<std::uint8_t> ascii(digits.begin(), digits.end());
    EXPECT_EQ(FrameCrc(ascii), 0x906E);
    EXPECT_EQ(FrameCrc({}), 0x0000);
    const std::vector<std::uint8_t> followUp{0x1B, 0x4E, 0x01, 0x01};
    EXPECT_EQ(FrameCrc(followUp), 0xE156);
}

} // namespace
} // namespace kym
