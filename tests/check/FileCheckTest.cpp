#include "check/FileCheck.h"

#include "support/ConfigLines.h"

#include <gtest/gtest.h>
#include <map>
#include <tuple>

namespace kym {
namespace {

constexpr auto kError = Finding::Severity::Error;
constexpr auto kWarning = Finding::Severity::Warning;

// A file the editor could have written with every row set up (unless given other rows) and header
// values at the ends of their lists: nothing to report.
test::ConfigLines cleanFile(std::vector<std::string> rows = {
                                "1,1,COUNT,0,4095,;", "A5,2,THERM 20k,-40,200,;",
                                "FFF0,3,HUMIDITY,,100,;", "0,4,MOISTURE,0,,;", "1,1,DIGITAL,,,;",
                                "2,2,DIGITAL,,,;", "3,3,DIGITAL,,,;", ",,DIGITAL,,,;"}) {
    test::ConfigLines file("KYM3815", std::move(rows));
    file.set("CAPTURE", "240").set("VENDOR CODE", "").set("PROPERTY CODE", "FF");
    file.set("TIMEOUT", "60").set("NETWORK_ID", "63").set("LOSS_STATE", "");
    return file;
}

// The clean file with header values set (key, value, key, value ...) and rows replaced, or added
// past its end.
LineList file(const std::vector<std::string>& values,
              const std::map<std::size_t, std::string>& rows = {}) {
    test::ConfigLines file = cleanFile();
    for (std::size_t i = 0; i + 1 < values.size(); i += 2)
        file.set(values[i], values[i + 1]);
    for (const auto& [index, row] : rows) {
        file.rows.resize(std::max(file.rows.size(), index + 1));
        file.rows[index] = row;
    }
    return file.lines();
}

TEST(FileCheck, ReportsEveryProblemWithItsLine) {
    using Expected = std::tuple<int, Finding::Severity, std::string>;
    LineList noRowData = file({});
    noRowData.resize(24);
    LineList typeAfterColumnNames = file({"DEVICE_TYPE", "OLD"});
    typeAfterColumnNames.insert(typeAfterColumnNames.end(), {"DEVICE_TYPE", "KYM3815"});
    // A value of megabytes is named by its first 40 characters and its length.
    const std::string huge(50 << 20, '7'), cut = std::string(40, '7') + "\u2026\" (5242880";
    LineList hugeValues = file({"CAPTURE", huge});
    hugeValues[22] = huge + "x";
    const std::pair<LineList, std::vector<Expected>> cases[] = {
        {file({}), {}},
        {cleanFile().drop("FILE_TYPE").drop("TIMEOUT").drop("DEVICE_TYPE").lines(),
         {{0, kWarning, "the key \"FILE_TYPE\" is missing"},
          {0, kWarning, "the key \"TIMEOUT\" is missing"},
          {0, kError, "\"DEVICE_TYPE\" is missing: Send File has no frame to send"}}},
        {noRowData, {{0, kError, "no ROW_DATA key"}}},
        {file({"CAPTURE", "241", "DEVICE_TYPE", "QX9999", "CAPTURE_SCALE", "HOURS", "LOSS_STATE",
               "ON", "SNIFFER_STATE", "YES", "VENDOR CODE", "1", "PROPERTY CODE", "0a0b", "TIMEOUT",
               "0", "NETWORK_ID", ""}),
         {{2, kWarning, "CAPTURE \"241\" is not in the capture time list"},
          {4, kError, "unknown device type \"QX9999\": Send File has no frame to send"},
          {8, kWarning, "unknown CAPTURE_SCALE \"HOURS\""},
          {10, kWarning, "unknown LOSS_STATE \"ON\""},
          {12, kWarning, "unknown SNIFFER_STATE \"YES\""},
          {14, kWarning, "VENDOR CODE \"1\""},
          {16, kWarning, "PROPERTY CODE \"0a0b\""},
          {18, kWarning, "TIMEOUT \"0\""},
          {20, kWarning, "NETWORK_ID \"\" is not in the network ID list: it is sent as 1"}}},
        {typeAfterColumnNames,
         {{4, kWarning, "unknown device type \"OLD\": a later DEVICE_TYPE decides"},
          {35, kWarning, "DEVICE_TYPE stands after COLUMN_NAMES"}}},
        {cleanFile({"1,1,DIGITAL,,,;", "FFF1,5,THERM 20k,-41,201,;", "1,1,RESET_TEMP,,,;",
                    "1,1,RTD 1k,5,,;", "1,1,,,,;", "1,1,COUNT,0,4095,;", "3,3,DIGITAL;",
                    ",,DIGITAL,,,;"})
             .lines(),
         {{26, kWarning, "\"DIGITAL\" is not offered on an analog row"},
          {27, kWarning, "TRANSMITTER ID \"FFF1\""},
          {27, kWarning, "TRANS CHAN \"5\""},
          {27, kWarning, "RANGE START \"-41\" is not in the range list of THERM 20k"},
          {27, kWarning, "RANGE END \"201\""},
          {28, kWarning, "\"RESET_TEMP\" has no code: it is sent as code 0"},
          {29, kWarning, "\"RTD 1k\" is not offered on an analog row"},
          {29, kWarning, "RANGE START \"5\" has no range list"},
          {30, kWarning, "row 5 DATA FORMAT is empty"},
          {31, kWarning, "\"COUNT\" is not offered on a digital row"},
          {32, kWarning, "row 7 has 2 of the 5 comma-ended fields"}}},
        {cleanFile({"1,1,COUNT,0,4095,;", "", "FFF0,3,HUMIDITY,,100,;", "0,4,MOISTURE,0,,;",
                    "1,1,DIGITAL,,,;", "2,2,DIGITAL,,,;"})
             .lines(),
         {{25, kWarning, "row 7 is sent empty"},
          {25, kWarning, "row 8 is sent empty"},
          {27, kWarning, "row 2 is sent empty"}}},
        {test::ConfigLines("QD4805", {"", "", "", "", "", "12,2,DIGITAL,,,;"}).lines(),
         {{30, kWarning, "row 5 is sent empty"}}},
        {file({"CAPTURE", "300"}, {{2, "1,300,MOISTURE,x,,;"}}),
         {{2, kError, "CAPTURE \"300\" is outside 0 to 255"},
          {28, kError, "row 3 TRANS CHAN \"300\" is larger than 255"},
          {28, kError, "row 3 RANGE START \"x\" is not a number"}}},
        {hugeValues,
         {{2, kError, "CAPTURE \"" + cut + "0 characters) is outside 0 to 255"},
          {22, kError, "COLUMN_NAMES count \"" + cut + "1 characters) is not a number"}}},
        {file({}, {{8, "1,1,COUNT,0,1,;"}}),
         {{25, kError, "Open stops reading here: ROW_DATA count 9 is larger than"}}},
    };
    for (const auto& [lines, expected] : cases) {
        const auto found = CheckConfiguration(lines);
        std::string all;
        for (const auto& f : found)
            all += std::to_string(f.line) + (f.severity == kError ? " E " : " W ") +
                   f.message.substr(0, 300) + "\n";
        ASSERT_EQ(found.size(), expected.size()) << all;
        for (std::size_t i = 0; i < found.size(); ++i) {
            const auto& [line, severity, text] = expected[i];
            EXPECT_TRUE(found[i].line == line && found[i].severity == severity &&
                        found[i].message.find(text) != std::string::npos)
                << "finding " + std::to_string(i) + " of\n" + all;
        }
    }
}

} // namespace
} // namespace kym
