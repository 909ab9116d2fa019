#include "transfer/FileCheck.h"

#include "support/ConfigLines.h"

#include <functional>
#include <gtest/gtest.h>

namespace kym {
namespace {

using test::ConfigLines;
using Severity = Finding::Severity;

struct Expected {
    int line;
    Severity severity;
    std::string text;
};

// A file the editor could have written with every row set up: nothing to report.
ConfigLines cleanFile() {
    return ConfigLines("KYM3815", {"1,1,COUNT,0,4095,;", "A5,2,THERM 20k,-40,200,;",
                                   "FFF0,3,HUMIDITY,,100,;", "0,4,MOISTURE,0,,;", "1,1,DIGITAL,,,;",
                                   "2,2,DIGITAL,,,;", "3,3,DIGITAL,,,;", ",,DIGITAL,,,;"});
}

ConfigLines withRow(std::size_t index, std::string row) {
    ConfigLines file = cleanFile();
    file.rows[index] = std::move(row);
    return file;
}

TEST(FileCheck, ReportsEveryProblemWithItsLine) {
    struct Case {
        std::string name;
        std::function<LineList()> file;
        std::vector<Expected> findings;
    };
    const Case cases[] = {
        {"clean", [] { return cleanFile().lines(); }, {}},
        {"worked example",
         [] {
             return ConfigLines("QD4815",
                                {",1,COUNT,0,4095,;", ",2,COUNT,0,4095,;", ",3,COUNT,0,4095,;",
                                 ",4,COUNT,0,4095,;", ",1,DIGITAL,,,;", ",2,DIGITAL,,,;",
                                 ",3,DIGITAL,,,;", ",4,DIGITAL,,,;"})
                 .lines();
         },
         {}},
        {"missing keys",
         [] { return cleanFile().drop("FILE_TYPE").drop("TIMEOUT").lines(); },
         {{0, Severity::Warning, "\"FILE_TYPE\" is missing"},
          {0, Severity::Warning, "\"TIMEOUT\" is missing"}}},
        {"no DEVICE_TYPE",
         [] { return cleanFile().drop("DEVICE_TYPE").lines(); },
         {{0, Severity::Error, "\"DEVICE_TYPE\" is missing: Send File has no frame to send"}}},
        {"the last DEVICE_TYPE decides",
         [] {
             auto lines = cleanFile().lines();
             lines.insert(lines.begin() + 1, {"DEVICE_TYPE", "OLD"});
             return lines;
         },
         {{2, Severity::Warning, "unknown device type \"OLD\": a later DEVICE_TYPE decides"}}},
        {"no ROW_DATA",
         [] {
             auto lines = cleanFile().lines();
             lines.resize(24);
             return lines;
         },
         {{0, Severity::Error, "no ROW_DATA key"}}},
        {"unknown names",
         [] {
             return cleanFile()
                 .set("DEVICE_TYPE", "QX9999")
                 .set("CAPTURE_SCALE", "HOURS")
                 .set("LOSS_STATE", "ON")
                 .set("SNIFFER_STATE", "YES")
                 .lines();
         },
         {{4, Severity::Error, "unknown device type \"QX9999\": Send File has no frame to send"},
          {8, Severity::Warning, "unknown CAPTURE_SCALE \"HOURS\""},
          {10, Severity::Warning, "unknown LOSS_STATE \"ON\""},
          {12, Severity::Warning, "unknown SNIFFER_STATE \"YES\""}}},
        {"header values outside the lists",
         [] {
             return cleanFile()
                 .set("CAPTURE", "241")
                 .set("VENDOR CODE", "1")
                 .set("PROPERTY CODE", "0a0b")
                 .set("TIMEOUT", "0")
                 .set("NETWORK_ID", "")
                 .lines();
         },
         {{2, Severity::Warning, "CAPTURE \"241\""},
          {14, Severity::Warning, "VENDOR CODE \"1\""},
          {16, Severity::Warning, "PROPERTY CODE \"0a0b\""},
          {18, Severity::Warning, "TIMEOUT \"0\""},
          {20, Severity::Warning, "it is sent as 1"}}},
        {"header values inside the lists",
         [] {
             return cleanFile()
                 .set("CAPTURE", "240")
                 .set("VENDOR CODE", "")
                 .set("PROPERTY CODE", "FF")
                 .set("TIMEOUT", "60")
                 .set("NETWORK_ID", "63")
                 .set("LOSS_STATE", "")
                 .lines();
         },
         {}},
        {"DEVICE_TYPE after COLUMN_NAMES",
         [] {
             auto lines = cleanFile().drop("DEVICE_TYPE").lines();
             lines.insert(lines.end(), {"DEVICE_TYPE", "KYM3815"});
             return lines;
         },
         {{33, Severity::Warning, "DEVICE_TYPE stands after COLUMN_NAMES"}}},
        {"transmitter beyond the list",
         [] { return withRow(1, "FFF1,5,THERM 20k,-41,201,;").lines(); },
         {{27, Severity::Warning, "TRANSMITTER ID \"FFF1\""},
          {27, Severity::Warning, "TRANS CHAN \"5\""},
          {27, Severity::Warning, "RANGE START \"-41\" is not in the range list of THERM 20k"},
          {27, Severity::Warning, "RANGE END \"201\""}}},
        {"data formats",
         [] {
             ConfigLines file = cleanFile();
             file.rows[0] = "1,1,DIGITAL,,,;";
             file.rows[1] = "1,1,RTD 1k,5,,;";
             file.rows[2] = "1,1,RESET_TEMP,,,;";
             file.rows[4] = "1,1,,,,;";
             file.rows[5] = "1,1,COUNT,0,4095,;";
             return file.lines();
         },
         {{26, Severity::Warning, "\"DIGITAL\" is not offered on an analog row"},
          {27, Severity::Warning, "\"RTD 1k\" is not offered on an analog row"},
          {27, Severity::Warning, "RANGE START \"5\" has no range list"},
          {28, Severity::Warning, "\"RESET_TEMP\" has no code: it is sent as code 0"},
          {30, Severity::Warning, "row 5 DATA FORMAT is empty"},
          {31, Severity::Warning, "\"COUNT\" is not offered on a digital row"}}},
        {"short row lines",
         [] { return withRow(3, "0,4,MOISTURE,0;").lines(); },
         {{29, Severity::Warning, "row 4 has 3 of the 5 comma-ended fields"}}},
        {"rows sent empty",
         [] {
             ConfigLines file = cleanFile();
             file.rows.resize(6);
             file.rows[1] = "";
             return file.lines();
         },
         {{25, Severity::Warning, "row 7 is sent empty"},
          {25, Severity::Warning, "row 8 is sent empty"},
          {27, Severity::Warning, "row 2 is sent empty"}}},
        {"the two-control block sends only row 5",
         [] {
             return ConfigLines("QD4805", {"", "", "", "", "", "12,2,DIGITAL,,,;"}).lines();
         },
         {{30, Severity::Warning, "row 5 is sent empty"}}},
        {"compile errors hide the warnings of their line",
         [] { return withRow(2, "1,300,MOISTURE,x,,;").set("CAPTURE", "300").lines(); },
         {{2, Severity::Error, "CAPTURE \"300\" is outside 0 to 255"},
          {28, Severity::Error, "row 3 TRANS CHAN \"300\" is larger than 255"},
          {28, Severity::Error, "row 3 RANGE START \"x\" is not a number"}}},
        {"Open stops at a count larger than the table",
         [] {
             ConfigLines file = cleanFile();
             file.rows.push_back("1,1,COUNT,0,1,;");
             return file.lines();
         },
         {{25, Severity::Error, "Open stops reading here: ROW_DATA count 9 is larger than"}}},
    };
    for (const auto& c : cases) {
        const auto found = CheckConfiguration(c.file());
        std::string all;
        for (const auto& f : found)
            all += std::to_string(f.line) + (f.severity == Severity::Error ? " E " : " W ") +
                   f.message + "\n";
        ASSERT_EQ(found.size(), c.findings.size()) << c.name << ":\n" << all;
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(found[i].line, c.findings[i].line) << c.name << ":\n" << all;
            EXPECT_EQ(found[i].severity, c.findings[i].severity) << c.name << ":\n" << all;
            EXPECT_NE(found[i].message.find(c.findings[i].text), std::string::npos)
                << c.name << ":\n"
                << all;
        }
    }
}

} // namespace
} // namespace kym
