#include "transfer/Frames.h"

#include "support/ConfigLines.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace kym {
namespace {

// Every row differs, so a frame that carries the wrong record or byte shows it.
const std::vector<std::string> kRows{
    "101,1,THERM 20k,-1,100,;",   "202,2,COUNT,-2,200,;",        "303,3,HUMIDITY,-3,300,;",
    "404,4,MOISTURE,-4,400,;",    "505,1,DIGITAL,,,;",           "606,2,DIGITAL,,,;",
    "707,3,DIGITAL,,,;",          "808,4,DIGITAL,,,;",           "909,1,THERM 20k,-9,900,;",
    "A0A,2,COUNT,-10,1000,;",     "B0B,3,HUMIDITY,-11,1100,;",   "C0C,4,MOISTURE,-12,1200,;",
    "D0D,1,DIGITAL,,,;",          "E0E,2,DIGITAL,,,;",           "F0F,3,DIGITAL,,,;",
    "1010,4,DIGITAL,,,;",         "1111,1,THERM 20k,-17,1700,;", "1212,2,COUNT,-18,1800,;",
    "1313,3,HUMIDITY,-19,1900,;", "1414,4,MOISTURE,-20,2000,;",  "1515,1,DIGITAL,,,;",
    "1616,2,DIGITAL,,,;",         "1717,3,DIGITAL,,,;",          "1818,4,DIGITAL,,,;",
};

Compilation compileFor(const std::string& deviceType) {
    const std::size_t rows = deviceType == "QX4815" ? 24 : 8;
    test::ConfigLines file(deviceType,
                           {kRows.begin(), kRows.begin() + static_cast<std::ptrdiff_t>(rows)});
    file.set("CAPTURE", "12").set("CAPTURE_SCALE", "MINUTES").set("LOSS_STATE", "OFF");
    file.set("SNIFFER_STATE", "SNIFFER").set("VENDOR CODE", "0A0B").set("PROPERTY CODE", "0C0D");
    file.set("TIMEOUT", "45").set("NETWORK_ID", "5");
    return CompileConfiguration(file.lines());
}

std::string hex(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    for (std::uint8_t byte : bytes) {
        char pair[4];
        std::snprintf(pair, sizeof pair, text.empty() ? "%02X" : " %02X", byte);
        text += pair;
    }
    return text;
}

constexpr std::string_view kMainRecords = "01 01 01 00 FF FF 00 64 02 02 02 01 FF FE 00 C8 03 03 "
                                          "03 02 FF FD 01 2C 04 04 04 03 FF FC 01 90 "
                                          "05 05 01 0A 00 00 00 00 06 06 02 0A 00 00 00 00 07 07 "
                                          "03 0A 00 00 00 00 08 08 04 0A 00 00 00 00";

TEST(Frames, OneFramePerDeviceTypeAndUnitByteForByte) {
    struct Case {
        std::string deviceType;
        int unit;
        std::string frame;
    };
    const std::string main(kMainRecords);
    const Case cases[] = {
        {"KYM3815", 0, "1B 47 4A 0C 01 11 0A 0B 0C 0D 2D 45 08 " + main + " 0F 9D"},
        {"KYM3815", 3, "1B 47 4A 0C 01 11 0A 0B 0C 0D 2D 45 08 " + main + " 0F 9D"},
        {"QD4815", 1, "1B 47 4A 0C 28 11 0A 0B 0C 0D 2D 45 08 " + main + " DE AF"},
        {"QX4815", 1,
         "1B 47 6A 0C 29 11 0A 0B 0C 0D 2D 45 18 " + main +
             " 09 09 0A 0A 0B 0B 0C 0C 0D 0D 0E 0E 0F 0F 10 10 11 11 12 12 13 13 14 14 15 15 16 16 "
             "17 17 18 18 EF 5A"},
        {"QX4815", 2,
         "1B 47 4A 0C 29 11 0A 0B 0C 0D 2D 45 18 09 09 01 00 FF F7 03 84 0A 0A 02 01 FF F6 03 E8 "
         "0B 0B 03 02 FF F5 04 4C 0C 0C 04 03 FF F4 04 B0 0D 0D 01 0A 00 00 00 00 0E 0E 02 0A 00 "
         "00 "
         "00 00 0F 0F 03 0A 00 00 00 00 10 10 04 0A 00 00 00 00 35 10"},
        {"QX4815", 3,
         "1B 47 4A 0C 29 11 0A 0B 0C 0D 2D 45 18 11 11 01 00 FF EF 06 A4 12 12 02 01 FF EE 07 08 "
         "13 13 03 02 FF ED 07 6C 14 14 04 03 FF EC 07 D0 15 15 01 0A 00 00 00 00 16 16 02 0A 00 "
         "00 "
         "00 00 17 17 03 0A 00 00 00 00 18 18 04 0A 00 00 00 00 B6 42"},
        {"QR4805", 1, "1B 5C 4A 0C 01 11 0A 0B 0C 0D 2D 45 08 " + main + " AA 3E"},
        {"QD4805", 2, "1B 47 11 45 FF FF 05 05 00 05 00 0C 11 2D 00 28 0A 0B 0C 0D 36 16"},
    };
    for (const auto& c : cases) {
        const Compilation compiled = compileFor(c.deviceType);
        ASSERT_TRUE(compiled.fileReady) << c.deviceType;
        const auto frame = BuildFrame(compiled.image, compiled.deviceTypeText, c.unit);
        ASSERT_TRUE(frame) << c.deviceType;
        EXPECT_EQ(hex(*frame), c.frame) << c.deviceType << " unit " << c.unit;
    }
}

TEST(Frames, NoFrameForAnUnknownTypeOrAnExtenderWithoutUnit) {
    const DeviceImage image;
    for (const auto* type : {"", "kym3815", "QX4815 ", "OTHER"})
        EXPECT_FALSE(BuildFrame(image, type, kMainUnit)) << type;
    for (int unit : {0, 4, -1})
        EXPECT_FALSE(BuildFrame(image, "QX4815", unit)) << unit;
}

TEST(Frames, FollowUpCommand) {
    EXPECT_EQ(hex(FollowUpFrame()), "1B 4E 01 01 56 E1");
}

} // namespace
} // namespace kym
