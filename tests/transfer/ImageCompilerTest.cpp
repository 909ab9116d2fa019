#include "transfer/ImageCompiler.h"

#include "config/Conversions.h"
#include "support/ConfigLines.h"
#include "transfer/Frames.h"

#include <gtest/gtest.h>

namespace kym {
namespace {

using Values = std::vector<std::pair<std::string, std::string>>;
using Rows = std::vector<std::string>;

const Rows kEightEmptyRows(8, ",,,,,;");
const Values kRichHeader{{"CAPTURE", "12"},       {"CAPTURE_SCALE", "MINUTES"},
                         {"LOSS_STATE", "OFF"},   {"SNIFFER_STATE", "SNIFFER"},
                         {"VENDOR CODE", "0A0B"}, {"PROPERTY CODE", "0C0D"},
                         {"TIMEOUT", "45"},       {"NETWORK_ID", "5"}};

LineList fileWith(const Values& values, Rows rows = kEightEmptyRows) {
    test::ConfigLines file("KYM3815", std::move(rows));
    for (const auto& [key, value] : values)
        file.set(key, value);
    return file.lines();
}

Compilation compile(const LineList& lines) {
    Compilation compiled = CompileConfiguration(lines);
    EXPECT_TRUE(compiled.fileReady) << (compiled.errors.empty() ? "" : compiled.errors[0].reason);
    return compiled;
}

// Every row differs, so a frame that carries the wrong record or byte shows it.
const std::vector<std::string> kRows{
    "101,1,THERM 20k,-1,100,;",   "202,2,COUNT,-2,200,;",        "303,3,HUMIDITY,-3,300,;",
    "404,4,MOISTURE,-4,400,;",    "505,1,DIGITAL,,,;",           "606,2,DIGITAL,,,;",
    "707,3,DIGITAL,,,;",          "808,4,DIGITAL,,,;",           "909,1,THERM 20k,-9,900,;",
    "A0A,2,COUNT,-10,1000,;",     "B0B,3,HUMIDITY,-11,1100,;",   "C0C,4,MOISTURE,-12,1200,;",
    "D0D,1,DIGITAL,,,;",          "E0E,2,DIGITAL,,,;",           "F0F,3,DIGITAL,,,;",
    "1010,4,DIGITAL,,,;",         "1111,1,THERM 20k,-17,1700,;", "1212,2,COUNT,-18,1800,;",
    "1313,3,HUMIDITY,-19,1900,;", "1414,4,MOISTURE,-20,2000,;",  "1515,1,DIGITAL,,,;",
    "1616,2,DIGITAL,,,;",         "1717,3,DIGITAL,,,;",          "1818,4,DIGITAL,,,;"};

TEST(Frames, OneFramePerDeviceTypeAndUnitByteForByte) {
    const std::string header = "0C 01 11 0A 0B 0C 0D 2D 45 08 ";
    const std::string main = "01 01 01 00 FF FF 00 64 02 02 02 01 FF FE 00 C8 "
                             "03 03 03 02 FF FD 01 2C 04 04 04 03 FF FC 01 90 "
                             "05 05 01 0A 00 00 00 00 06 06 02 0A 00 00 00 00 "
                             "07 07 03 0A 00 00 00 00 08 08 04 0A 00 00 00 00";
    const std::string extender = "1B 47 4A 0C 29 11 0A 0B 0C 0D 2D 45 18 ";
    const std::tuple<std::string, int, std::string> cases[] = {
        {"KYM3815", 0, "1B 47 4A " + header + main + " 0F 9D"},
        {"KYM3815", 3, "1B 47 4A " + header + main + " 0F 9D"},
        {"QD4815", 1, "1B 47 4A 0C 28 11 0A 0B 0C 0D 2D 45 08 " + main + " DE AF"},
        {"QX4815", 1,
         "1B 47 6A 0C 29 11 0A 0B 0C 0D 2D 45 18 " + main +
             " 09 09 0A 0A 0B 0B 0C 0C 0D 0D 0E 0E 0F 0F 10 10 11 11 12 12 13 13 14 14 15 15 16 16 "
             "17 17 18 18 EF 5A"},
        {"QX4815", 2,
         extender + "09 09 01 00 FF F7 03 84 0A 0A 02 01 FF F6 03 E8 0B 0B 03 02 FF F5 04 4C "
                    "0C 0C 04 03 FF F4 04 B0 0D 0D 01 0A 00 00 00 00 0E 0E 02 0A 00 00 00 00 "
                    "0F 0F 03 0A 00 00 00 00 10 10 04 0A 00 00 00 00 35 10"},
        {"QX4815", 3,
         extender + "11 11 01 00 FF EF 06 A4 12 12 02 01 FF EE 07 08 13 13 03 02 FF ED 07 6C "
                    "14 14 04 03 FF EC 07 D0 15 15 01 0A 00 00 00 00 16 16 02 0A 00 00 00 00 "
                    "17 17 03 0A 00 00 00 00 18 18 04 0A 00 00 00 00 B6 42"},
        {"QR4805", 1, "1B 5C 4A " + header + main + " AA 3E"},
        {"QD4805", 2, "1B 47 11 45 FF FF 05 05 00 05 00 0C 11 2D 00 28 0A 0B 0C 0D 36 16"}};
    for (const auto& [deviceType, unit, expected] : cases) {
        Values values = kRichHeader;
        values.emplace_back("DEVICE_TYPE", deviceType);
        const auto rows = kRows.begin() + (deviceType == "QX4815" ? 24 : 8);
        const Compilation compiled = compile(fileWith(values, {kRows.begin(), rows}));
        const auto frame = buildFrame(compiled.image, compiled.deviceTypeText, unit);
        EXPECT_EQ(hexText(frame.value_or(std::vector<std::uint8_t>{})), expected)
            << deviceType << unit;
    }
    EXPECT_FALSE(buildFrame(DeviceImage{}, "kym3815", kMainUnit));
    EXPECT_FALSE(buildFrame(DeviceImage{}, "QX4815", 4));
}

TEST(ImageCompiler, HeaderBytes) {
    const std::pair<Values, std::string> cases[] = {
        {{}, "00 01 00 01 71 00 02 1E 01 08"},
        {{{"VENDOR CODE", ""}, {"PROPERTY CODE", ""}}, "00 01 00 01 71 00 00 1E 01 08"},
        {{{"VENDOR CODE", "0171"}, {"PROPERTY CODE", "05"}}, "00 01 00 01 71 00 05 1E 01 08"},
        {{{"NETWORK_ID", ""}, {"SNIFFER_STATE", "SNIFFER"}}, "00 01 00 01 71 00 02 1E 41 08"},
        {{{"CAPTURE_SCALE", "minutes"}, {"LOSS_STATE", "off"}}, "00 01 00 01 71 00 02 1E 01 08"},
        // LAST clears only the loss bits; the minutes bit set before it stays.
        {{{"CAPTURE_SCALE", "MINUTES"}, {"LOSS_STATE", "LAST"}}, "00 01 10 01 71 00 02 1E 01 08"},
        {{{"CAPTURE", " 2.5 "}}, "02 01 00 01 71 00 02 1E 01 08"},
        {{{"CAPTURE", "3.5"}}, "04 01 00 01 71 00 02 1E 01 08"},
        {{{"CAPTURE", "255"}, {"TIMEOUT", "255"}}, "FF 01 00 01 71 00 02 FF 01 08"},
        {{{"TIMEOUT", "1234"}, {"NETWORK_ID", "abc"}}, "00 01 00 01 71 00 02 00 00 08"},
        {{{"DEVICE_TYPE", "kym3815"}}, "00 00 00 01 71 00 02 1E 01 08"}};
    for (const auto& [values, header] : cases)
        EXPECT_EQ(hexText(compile(fileWith(values)).image.header), header) << values.size();
}

TEST(ImageCompiler, RowLinesToRecords) {
    const std::pair<std::string, std::string> cases[] = {
        {",,,,,;", "00 01 00 00 00 00 00 00 00"},
        {"", "00 00 00 00 00 00 00 00 00"},
        {"1A2B3,1,DIGITAL,,,;", "A2 B3 01 0A 00 00 00 00 00"},
        {"5,2,RTD 1k Ext,-10,4095,;", "00 05 02 05 FF F6 0F FF 00"},
        {"FFF0,4,THERM 20k,-40,200,extra,;", "FF F0 04 00 FF D8 00 C8 00"},
        {"7,1,QT7625,2.5,65536,;", "00 07 01 09 00 02 00 00 00"},
        {"7,1,RESET_TEMP, -32768.5 ,3.5,;", "00 07 01 00 80 00 00 04 00"},
        {"7,1,count,2147483647,-2147483648,;", "00 07 01 00 FF FF 00 00 00"},
        {"7,1,TOTALIZER,0,100;", "00 07 01 06 00 00 00 00 00"},
        {"7,1,RTD 1k,,,;", "00 07 01 04 00 00 00 00 00"},
        {"7,1,CONTROL_1,,,;", "00 07 01 07 00 00 00 00 00"},
        {"7,1,CONTROL_2,,,;", "00 07 01 08 00 00 00 00 00"},
        {"12,3", "00 12 00 00 00 00 00 00 00"},
        // The ID is its last four hexadecimal digits, the channel one to three decimal digits;
        // other characters count as the digit 0, a channel of four characters or more as 0.
        {"ab12,007,HUMIDITY,,,;", "00 12 07 02 00 00 00 00 00"},
        {"12 34,1a,MOISTURE,,,;", "20 34 0A 03 00 00 00 00 00"},
        {"A5, 5,,,,;", "00 A5 05 00 00 00 00 00 00"},
        {"A5,-1,,,,;", "00 A5 01 00 00 00 00 00 00"},
        {"A5,1000,,,,;", "00 A5 00 00 00 00 00 00 00"}};
    for (const auto& [line, record] : cases)
        EXPECT_EQ(hexText(compile(fileWith({}, {",,,,,;", line})).image.records[1]), record)
            << line;
}

// A value line that is a key later in the order is taken as that key in the same step; an earlier
// key only in the next step, after the index moved past it. COLUMN_NAMES passes over the count
// and names lines, ROW_DATA over the line after the last row.
TEST(ImageCompiler, ScanOrderAndPassedOverLines) {
    using namespace headerbyte;
    const std::tuple<LineList, std::size_t, int> cases[] = {
        {{"", "CAPTURE_SCALE", "TIMEOUT", "45", "ROW_DATA", "0"}, kTimeout, 45},
        {{"", "TIMEOUT", "CAPTURE", "9", "ROW_DATA", "0"}, kCapture, 0},
        {{"", "FILE_TYPE", "TIMEOUT", "12", "ROW_DATA", "0"}, kTimeout, 12},
        {{"", "COLUMN_NAMES", "TIMEOUT", "7", "ROW_DATA", "0"}, kTimeout, 0},
        {{"", "COLUMN_NAMES", "5", "TIMEOUT", "7", "ROW_DATA", "0"}, kTimeout, 0},
        {{"", "COLUMN_NAMES", "5", "", "TIMEOUT", "7", "ROW_DATA", "0"}, kTimeout, 7},
        {{"", "ROW_DATA", "1", "", "TIMEOUT", "50"}, kTimeout, 0},
        {{"", "ROW_DATA", "1", "", "", "TIMEOUT", "50"}, kTimeout, 50},
        {{"", "ROW_DATA", "0", "TIMEOUT", "50"}, kTimeout, 0},
        {{"", "ROW_DATA", "0", "", "TIMEOUT", "50"}, kTimeout, 50},
        {{"", "ROW_DATA", "1.5", "1,1,COUNT,,,;", "2,2,COUNT,,,;", "", ""}, kRowCount, 2},
        {{"", "ROW_DATA", "1", "7,1,COUNT,,,;"}, kRowCount, 1},
        {{"", "NETWORK_ID", "5", "SNIFFER_STATE", "SNIFFER", "ROW_DATA", "0"}, kNetwork, 0x45},
        {fileWith({}, Rows(25, ",,,,,;")), kRowCount, 25}};
    for (const auto& [lines, byte, value] : cases)
        EXPECT_EQ(compile(lines).image.header[byte], value) << lines[1] << " " << lines[2];
}

TEST(ImageCompiler, TwoControlBlockHoldsTheValuesAtRowData) {
    LineList lines = fileWith({{"DEVICE_TYPE", "QD4805"}}, {"", "", "", "", "12AB,1,DIGITAL,,,;"});
    lines.insert(lines.end(), {"TIMEOUT", "99"});
    EXPECT_EQ(hexText(compile(lines).image.twoControl),
              "01 FF FF 12 AB 00 05 00 00 00 1E 00 28 01 71 00 02");
}

TEST(ImageCompiler, ValuesWithoutAByteValueAndMalformedSectionsFail) {
    const auto withRow3 = [](std::string row) { return fileWith({}, {"", "", std::move(row)}); };
    const std::tuple<LineList, int, std::string> cases[] = {
        {fileWith({{"CAPTURE", ""}}), 2, "CAPTURE \"\" is not a number"},
        {fileWith({{"CAPTURE", "255.5"}}), 2, "CAPTURE \"255.5\" is outside 0 to 255"},
        {fileWith({{"CAPTURE", "-1"}}), 2, "CAPTURE \"-1\" is outside 0 to 255"},
        {fileWith({{"TIMEOUT", "256"}}), 18, "TIMEOUT \"256\" is larger than 255"},
        {fileWith({{"NETWORK_ID", "300"}}), 20, "NETWORK_ID \"300\" is larger than 255"},
        {withRow3("1,999,COUNT,,,;"), 28, "row 3 TRANS CHAN \"999\" is larger than 255"},
        {withRow3("1,1,COUNT,abc,,;"), 28, "row 3 RANGE START \"abc\" is not a number"},
        {withRow3("1,1,COUNT,0,2147483647.5,;"), 28,
         "row 3 RANGE END \"2147483647.5\" is outside the signed 32-bit range"},
        {withRow3("1,1,COUNT,0,-2147483649,;"), 28,
         "row 3 RANGE END \"-2147483649\" is outside the signed 32-bit range"},
        {{"", "ROW_DATA", "26"}, 2, "ROW_DATA count \"26\" is not a number from 0 to 25"},
        {{""}, 0, "the file has no ROW_DATA key, so there is nothing to send"},
        {{"", "ROW_DATA", "x"}, 2, "ROW_DATA count \"x\" is not a number from 0 to 25"},
        {{"", "ROW_DATA", "-1", ""}, 2, "ROW_DATA count \"-1\" is not a number from 0 to 25"},
        {{"", "ROW_DATA", "3", "", ""},
         2,
         "ROW_DATA count 3 runs past the end of the file (2 row lines follow)"},
        {{"", "ROW_DATA", "0", "", "TIMEOUT"}, 4, "\"TIMEOUT\" on the last line has no value line"},
        {{"", "ROW_DATA"}, 1, "\"ROW_DATA\" on the last line has no value line"}};
    for (const auto& [lines, line, reason] : cases) {
        const auto compiled = CompileConfiguration(lines);
        EXPECT_FALSE(compiled.fileReady) << reason;
        EXPECT_EQ(compiled.errorReport("f"), "f:" + std::to_string(line) + ": " + reason);
    }
}

} // namespace
} // namespace kym
