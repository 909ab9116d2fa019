#include "transfer/ImageCompiler.h"

#include "support/ConfigLines.h"

#include <gtest/gtest.h>

namespace kym {
namespace {

using test::ConfigLines;
using Bytes = std::vector<int>;

template <std::size_t N>
Bytes bytes(const std::array<std::uint8_t, N>& array, std::size_t count = N) {
    return Bytes(array.begin(), array.begin() + static_cast<std::ptrdiff_t>(count));
}

const std::vector<std::string> kEightEmptyRows(8, ",,,,,;");

Compilation compile(const LineList& lines) {
    Compilation compiled = CompileConfiguration(lines);
    EXPECT_TRUE(compiled.fileReady) << (compiled.errors.empty() ? "" : compiled.errors[0].reason);
    return compiled;
}

TEST(ImageCompiler, HeaderBytes) {
    struct Case {
        std::string name;
        std::vector<std::pair<std::string, std::string>> values;
        Bytes header;
    };
    const Case cases[] = {
        {"new document", {}, {0, 1, 0, 0x01, 0x71, 0x00, 0x02, 30, 0x01, 8}},
        {"empty codes",
         {{"VENDOR CODE", ""}, {"PROPERTY CODE", ""}},
         {0, 1, 0, 0x01, 0x71, 0, 0, 30, 1, 8}},
        {"codes from the Options dialog",
         {{"VENDOR CODE", "0171"}, {"PROPERTY CODE", "05"}},
         {0, 1, 0, 0x01, 0x71, 0x00, 0x05, 30, 1, 8}},
        {"monitor network 5",
         {{"NETWORK_ID", "5"}, {"SNIFFER_STATE", "SNIFFER"}},
         {0, 1, 0, 1, 0x71, 0, 2, 30, 0x45, 8}},
        {"empty network ID counts as 1",
         {{"NETWORK_ID", ""}, {"SNIFFER_STATE", "SNIFFER"}},
         {0, 1, 0, 1, 0x71, 0, 2, 30, 0x41, 8}},
        {"minutes and last", {{"CAPTURE_SCALE", "MINUTES"}}, {0, 1, 0x10, 1, 0x71, 0, 2, 30, 1, 8}},
        {"minutes and off",
         {{"CAPTURE_SCALE", "MINUTES"}, {"LOSS_STATE", "OFF"}},
         {0, 1, 0x11, 1, 0x71, 0, 2, 30, 1, 8}},
        {"unknown scale and loss state",
         {{"CAPTURE_SCALE", "minutes"}, {"LOSS_STATE", "off"}},
         {0, 1, 0, 1, 0x71, 0, 2, 30, 1, 8}},
        {"capture rounds halves to even",
         {{"CAPTURE", " 2.5 "}},
         {2, 1, 0, 1, 0x71, 0, 2, 30, 1, 8}},
        {"capture 3.5", {{"CAPTURE", "3.5"}}, {4, 1, 0, 1, 0x71, 0, 2, 30, 1, 8}},
        {"capture and time-out 255",
         {{"CAPTURE", "255"}, {"TIMEOUT", "255"}},
         {255, 1, 0, 1, 0x71, 0, 2, 255, 1, 8}},
        {"four-digit time-out",
         {{"TIMEOUT", "1234"}, {"NETWORK_ID", "abc"}},
         {0, 1, 0, 1, 0x71, 0, 2, 0, 0, 8}},
        {"control variant", {{"DEVICE_TYPE", "QD4815"}}, {0, 40, 0, 1, 0x71, 0, 2, 30, 1, 8}},
        {"extender", {{"DEVICE_TYPE", "QX4815"}}, {0, 41, 0, 1, 0x71, 0, 2, 30, 1, 8}},
        {"unknown type", {{"DEVICE_TYPE", "kym3815"}}, {0, 0, 0, 1, 0x71, 0, 2, 30, 1, 8}},
    };
    for (const auto& c : cases) {
        ConfigLines file("KYM3815", kEightEmptyRows);
        for (const auto& [key, value] : c.values)
            file.set(key, value);
        EXPECT_EQ(bytes(compile(file.lines()).image.header), c.header) << c.name;
    }
    ConfigLines sniffFirst("KYM3815", kEightEmptyRows);
    std::swap(sniffFirst.header[5], sniffFirst.header[9]);
    sniffFirst.set("NETWORK_ID", "5").set("SNIFFER_STATE", "SNIFFER");
    EXPECT_EQ(compile(sniffFirst.lines()).image.header[8], 0x45);
}

TEST(ImageCompiler, RowLinesToRecords) {
    struct Case {
        std::string line;
        Bytes record;
    };
    const Case cases[] = {
        {"00A5,3,COUNT,0,100,;", {0x00, 0xA5, 3, 1, 0x00, 0x00, 0x00, 0x64, 0}},
        {",,,,,;", {0x00, 0x01, 0, 0, 0, 0, 0, 0, 0}},
        {"", {0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"1A2B3,1,DIGITAL,,,;", {0xA2, 0xB3, 1, 10, 0, 0, 0, 0, 0}},
        {"5,2,RTD 1k Ext,-10,4095,;", {0x00, 0x05, 2, 5, 0xFF, 0xF6, 0x0F, 0xFF, 0}},
        {"FFF0,4,THERM 20k,-40,200,extra,;", {0xFF, 0xF0, 4, 0, 0xFF, 0xD8, 0x00, 0xC8, 0}},
        {"7,1,QT7625,2.5,65536,;", {0x00, 0x07, 1, 9, 0x00, 0x02, 0x00, 0x00, 0}},
        {"7,1,RESET_TEMP, -32768.5 ,3.5,;", {0x00, 0x07, 1, 0, 0x80, 0x00, 0x00, 0x04, 0}},
        {"7,1,count,2147483647,-2147483648,;", {0x00, 0x07, 1, 0, 0xFF, 0xFF, 0x00, 0x00, 0}},
        {"7,1,TOTALIZER,0,100;", {0x00, 0x07, 1, 6, 0, 0, 0, 0, 0}},
        {"12,3", {0x00, 0x12, 0, 0, 0, 0, 0, 0, 0}},
        {"12", {0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        const auto compiled = compile(ConfigLines("KYM3815", {",,,,,;", c.line}).lines());
        EXPECT_EQ(bytes(compiled.image.records[1]), c.record) << c.line;
    }
}

TEST(ImageCompiler, KeysAreTestedInTheirOrderWithinOneStep) {
    // A value line that is a key later in the order is taken as that key in the same step; an
    // earlier key only in the next step, after the index moved past it.
    const auto later = compile({"", "CAPTURE_SCALE", "TIMEOUT", "45", "ROW_DATA", "0"});
    EXPECT_EQ(later.image.header[7], 45);
    const auto earlier = compile({"", "TIMEOUT", "CAPTURE", "9", "ROW_DATA", "0"});
    EXPECT_EQ(earlier.image.header[0], 0);
    EXPECT_EQ(earlier.image.header[7], 0);
    // FILE_TYPE is no key, so its value line is tested like any other.
    EXPECT_EQ(compile({"", "FILE_TYPE", "TIMEOUT", "12", "ROW_DATA", "0"}).image.header[7], 12);
    // COLUMN_NAMES passes over the count and names lines.
    EXPECT_EQ(compile({"", "COLUMN_NAMES", "TIMEOUT", "7", "ROW_DATA", "0"}).image.header[7], 0);
    EXPECT_EQ(compile({"", "COLUMN_NAMES", "5", "TIMEOUT", "7", "ROW_DATA", "0"}).image.header[7],
              0);
    EXPECT_EQ(
        compile({"", "COLUMN_NAMES", "5", "", "TIMEOUT", "7", "ROW_DATA", "0"}).image.header[7], 7);
}

TEST(ImageCompiler, TheLineAfterTheLastRowIsPassedOver) {
    EXPECT_EQ(compile({"", "ROW_DATA", "1", "", "TIMEOUT", "50"}).image.header[7], 0);
    EXPECT_EQ(compile({"", "ROW_DATA", "1", "", "", "TIMEOUT", "50"}).image.header[7], 50);
    EXPECT_EQ(compile({"", "ROW_DATA", "0", "TIMEOUT", "50"}).image.header[7], 0);
    EXPECT_EQ(compile({"", "ROW_DATA", "0", "", "TIMEOUT", "50"}).image.header[7], 50);
}

TEST(ImageCompiler, TwoControlBlockHoldsTheValuesAtRowData) {
    ConfigLines file("QD4805", {",,,,,;", ",,,,,;", ",,,,,;", ",,,,,;", "12AB,1,DIGITAL,,,;"});
    file.set("CAPTURE", "9").set("CAPTURE_SCALE", "MINUTES").set("NETWORK_ID", "3");
    file.set("SNIFFER_STATE", "SNIFFER").set("VENDOR CODE", "0A0B").set("PROPERTY CODE", "0C0D");
    LineList lines = file.lines();
    lines.insert(lines.end(), {"TIMEOUT", "99"});
    const auto compiled = compile(lines);
    EXPECT_EQ(bytes(compiled.image.twoControl), (Bytes{0x43, 0xFF, 0xFF, 0x12, 0xAB, 0, 5, 0, 9,
                                                       0x10, 30, 0, 40, 0x0A, 0x0B, 0x0C, 0x0D}));
    EXPECT_EQ(compiled.image.header[7], 99);
    EXPECT_EQ(compiled.deviceTypeText, "QD4805");
}

TEST(ImageCompiler, EveryCompilationStartsFromAFreshImage) {
    std::vector<std::string> rows(24, "ABCD,4,COUNT,-5,77,;");
    ConfigLines extender("QX4815", rows);
    extender.set("CAPTURE", "200").set("TIMEOUT", "60").set("CAPTURE_SCALE", "MINUTES");
    const auto first = compile(extender.lines());
    ASSERT_EQ(first.image.records[23][0], 0xAB);

    // A shorter file without DEVICE_TYPE, CAPTURE and TIMEOUT: nothing of the first reaches it.
    ConfigLines shorter("", {"1,1,DIGITAL,,,;"});
    shorter.drop("DEVICE_TYPE").drop("CAPTURE").drop("TIMEOUT");
    const auto second = compile(shorter.lines());
    EXPECT_EQ(second.deviceTypeText, "");
    EXPECT_EQ(bytes(second.image.header), (Bytes{0, 0, 0, 1, 0x71, 0, 2, 0, 1, 1}));
    EXPECT_EQ(bytes(second.image.records[0]), (Bytes{0, 1, 1, 10, 0, 0, 0, 0, 0}));
    for (std::size_t r = 1; r < 25; ++r)
        EXPECT_EQ(bytes(second.image.records[r]), Bytes(9, 0)) << "record " << r;
    EXPECT_EQ(second.image, CompileConfiguration(shorter.lines()).image);
}

TEST(ImageCompiler, StatusTextAndColour) {
    const auto ready = compile(ConfigLines("KYM3815", kEightEmptyRows).lines());
    EXPECT_EQ(ready.statusText(), "File is ready to be sent.");
    EXPECT_EQ(ready.statusColour(), StatusColour::Green);
    EXPECT_TRUE(ready.errors.empty());
    const auto empty = CompileConfiguration({""});
    EXPECT_FALSE(empty.fileReady);
    EXPECT_EQ(empty.statusText(), "Error reading file ");
    EXPECT_EQ(empty.statusColour(), StatusColour::Desktop);
}

TEST(ImageCompiler, ValuesWithoutAByteValueFailTheCompilation) {
    struct Case {
        std::string name;
        std::vector<std::pair<std::string, std::string>> values;
        std::vector<std::string> rows;
        int line;
        std::string reason;
    };
    const std::vector<std::string> rows(8, ",,,,,;");
    auto rowsWith = [&](const std::string& row) {
        auto changed = rows;
        changed[2] = row;
        return changed;
    };
    const Case cases[] = {
        {"empty capture", {{"CAPTURE", ""}}, rows, 2, "CAPTURE \"\" is not a number"},
        {"capture text", {{"CAPTURE", "12s"}}, rows, 2, "CAPTURE \"12s\" is not a number"},
        {"capture 255.5", {{"CAPTURE", "255.5"}}, rows, 2, "CAPTURE \"255.5\" is outside 0 to 255"},
        {"capture -1", {{"CAPTURE", "-1"}}, rows, 2, "outside 0 to 255"},
        {"time-out 256", {{"TIMEOUT", "256"}}, rows, 18, "TIMEOUT \"256\" is larger than 255"},
        {"network 300", {{"NETWORK_ID", "300"}}, rows, 20, "NETWORK_ID \"300\" is larger than 255"},
        {"channel 999",
         {},
         rowsWith("1,999,COUNT,,,;"),
         28,
         "row 3 TRANS CHAN \"999\" is larger than 255"},
        {"start text",
         {},
         rowsWith("1,1,COUNT,abc,,;"),
         28,
         "row 3 RANGE START \"abc\" is not a number"},
        {"start blank", {}, rowsWith("1,1,COUNT, ,,;"), 28, "RANGE START \" \" is not a number"},
        {"start exponent",
         {},
         rowsWith("1,1,COUNT,1e3,,;"),
         28,
         "RANGE START \"1e3\" is not a number"},
        {"end beyond 32 bits",
         {},
         rowsWith("1,1,COUNT,0,2147483647.5,;"),
         28,
         "row 3 RANGE END \"2147483647.5\" is outside the signed 32-bit range"},
        {"end below 32 bits",
         {},
         rowsWith("1,1,COUNT,0,-2147483649,;"),
         28,
         "outside the signed 32-bit range"},
        {"row count 26",
         {},
         std::vector<std::string>(26, ",,,,,;"),
         25,
         "ROW_DATA count \"26\" is not a number from 0 to 25"},
    };
    for (const auto& c : cases) {
        ConfigLines file("KYM3815", c.rows);
        for (const auto& [key, value] : c.values)
            file.set(key, value);
        const auto compiled = CompileConfiguration(file.lines());
        EXPECT_FALSE(compiled.fileReady) << c.name;
        ASSERT_EQ(compiled.errors.size(), 1u) << c.name;
        EXPECT_EQ(compiled.errors[0].line, c.line) << c.name;
        EXPECT_NE(compiled.errors[0].reason.find(c.reason), std::string::npos)
            << compiled.errors[0].reason;
    }
}

TEST(ImageCompiler, MalformedSectionsFailTheCompilation) {
    struct Case {
        LineList lines;
        int line;
        std::string reason;
    };
    const Case cases[] = {
        {{""}, 0, "no ROW_DATA key"},
        {{"", "CAPTURE", "1", "TIMEOUT", "5"}, 0, "no ROW_DATA key"},
        {{"", "ROW_DATA", "x"}, 2, "ROW_DATA count \"x\" is not a number from 0 to 25"},
        {{"", "ROW_DATA", "-1", ""}, 2, "is not a number from 0 to 25"},
        {{"", "ROW_DATA", "3", "1,1,,,,;", "2,2,,,,;"},
         2,
         "ROW_DATA count 3 runs past the end of the file (2 row lines follow)"},
        {{"", "ROW_DATA"}, 1, "\"ROW_DATA\" on the last line has no value line"},
        {{"", "ROW_DATA", "0", "", "TIMEOUT"}, 4, "\"TIMEOUT\" on the last line has no value line"},
    };
    for (const auto& c : cases) {
        const auto compiled = CompileConfiguration(c.lines);
        EXPECT_FALSE(compiled.fileReady);
        ASSERT_EQ(compiled.errors.size(), 1u) << c.reason;
        EXPECT_EQ(compiled.errors[0].line, c.line) << c.reason;
        EXPECT_NE(compiled.errors[0].reason.find(c.reason), std::string::npos)
            << compiled.errors[0].reason;
    }
}

TEST(ImageCompiler, CountRoundsAndFillsOnlyItsRecords) {
    const auto compiled =
        compile({"", "ROW_DATA", "1.5", "1,1,COUNT,,,;", "2,2,COUNT,,,;", "", ""});
    EXPECT_EQ(compiled.image.header[9], 2);
    EXPECT_EQ(compiled.image.records[1][1], 2);
    EXPECT_EQ(compiled.image.records[2][1], 0);
}

} // namespace
} // namespace kym
