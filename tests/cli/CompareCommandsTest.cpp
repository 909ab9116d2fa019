#include "KymtoolFixture.h"
#include "support/PdfText.h"

#include <gtest/gtest.h>

namespace kym {
namespace {

using test::ConfigLines;

std::string repeated(int times, const std::string& line) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += line;
    return text;
}

class CompareCommands : public Kymtool {};

TEST_F(CompareCommands, DiffPrintsOneLinePerDifferenceAndExitsByVerdict) {
    const ConfigLines example = kWorkedExample;
    ConfigLines oneCell = example;
    oneCell.rows[2] = "1B,3,COUNT,0,4095,;";
    ConfigLines extender("QX4815", example.rows);
    extender.rows[1] = ",2,HUMIDITY,0,4095,;";
    extender.rows.resize(24, ",,,,,;");
    ConfigLines malformed = example;
    malformed.rows.clear();
    malformed.rows.resize(12, ",,,,,;");

    std::string extenderOut = "DEVICE_TYPE: QD4815 -> QX4815\n"
                              "row 2 ANALOG/ANALOG MAIN  DATA FORMAT: COUNT -> HUMIDITY\n";
    for (int row = 9; row <= 24; ++row)
        extenderOut += "row " + std::to_string(row) +
                       (row % 8 >= 1 && row % 8 <= 4 ? " ANALOG" : " DIGITAL") +
                       (row <= 16 ? " EXT1" : " EXT2") + ": only in the second file\n";

    const std::string a = file(example);
    const std::string missing = (dir / "missing.vlt").string();
    const std::string broken = file(malformed);
    const struct {
        const char* name;
        std::string b;
        int exitCode;
        std::string out, err;
    } rows[] = {
        {"equal", file(example), 0, "", ""},
        {"one cell", file(oneCell), 1, "row 3 ANALOG  TRANSMITTER ID: \"\" -> 1B\n", ""},
        {"header key", file(ConfigLines(example).set("TIMEOUT", "45").set("FILE_TYPE", "FACTORY")),
         1, "FILE_TYPE: \"\" -> FACTORY\nTIMEOUT: 30 -> 45\n", ""},
        {"device type", file(extender), 1, extenderOut, ""},
        {"unreadable", missing, 2, "", missing + ": No such file or directory\n"},
        {"malformed", broken, 2, "", broken + ":25: ROW_DATA count 12 is larger than the 8"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto result = run({"diff", a, row.b});
        EXPECT_EQ(result.exitCode, row.exitCode);
        EXPECT_EQ(result.out, row.out);
        EXPECT_EQ(result.err.substr(0, row.err.size()), row.err);
    }
}

// The table as the grid shows it: hidden rows left out, every row with its label.
TEST_F(CompareCommands, ExportCsvIsTheVisibleTable) {
    const std::string header = ",TRANSMITTER ID,TRANS CHAN,DATA FORMAT,RANGE START,RANGE END\r\n";
    const std::string empty = ",,,,,\r\n";
    const struct {
        const char* name;
        ConfigLines config;
        std::string csv;
    } rows[] = {
        {"KYM3815", ConfigLines("KYM3815", {"1A,2,THERM 20k,-40,150,;", "\"Q\",,,,,;"}),
         "ANALOG,1A,2,THERM 20k,-40,150\r\nANALOG,\"\"\"Q\"\"\",,,,\r\n" +
             repeated(2, "ANALOG" + empty) + repeated(4, "DIGITAL" + empty)},
        {"QX4815", ConfigLines("QX4815", {"7F,1,COUNT,0,4095,;"}),
         "ANALOG MAIN,7F,1,COUNT,0,4095\r\n" + repeated(3, "ANALOG MAIN" + empty) +
             repeated(4, "DIGITAL MAIN" + empty) + repeated(4, "ANALOG EXT1" + empty) +
             repeated(4, "DIGITAL EXT1" + empty) + repeated(4, "ANALOG EXT2" + empty) +
             repeated(4, "DIGITAL EXT2" + empty)},
        {"QR4805",
         ConfigLines("QR4805", {"9,,,,,;", ",,,,,;", ",,,,,;", ",,,,,;", "2C,3,DIGITAL,,,;"}),
         "DIGITAL,2C,3,DIGITAL,,\r\nDIGITAL" + empty},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto result = run({"export", file(row.config), "--format", "csv"});
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.out, header + row.csv);
    }
}

TEST_F(CompareCommands, ExportHtmlAndPdfCarryTheRecord) {
    ConfigLines extender("QX4815", {"<A&B>,1,COUNT,0,4095,;"});
    extender.set("TIMEOUT", "45");
    const std::string config = file(extender);
    const auto html = run({"export", config, "--format", "html"});
    EXPECT_EQ(html.exitCode, 0);
    EXPECT_NE(html.out.find("<td>&lt;A&amp;B&gt;</td>"), std::string::npos) << html.out;
    EXPECT_EQ(html.out.find("<A&B>"), std::string::npos);
    // The Options words: capture unit and network kind, each way.
    for (const auto& [scale, sniffer, words] :
         {std::tuple("SECONDS", "", std::vector<std::string>{"0 Seconds", "Coordinate Network ID"}),
          std::tuple("MINUTES", "SNIFFER",
                     std::vector<std::string>{"0 Minutes", "Monitor Network ID"})}) {
        const auto options = run(
            {"export",
             file(ConfigLines(extender).set("CAPTURE_SCALE", scale).set("SNIFFER_STATE", sniffer)),
             "--format", "html"});
        for (const auto& word : words)
            EXPECT_NE(options.out.find(word), std::string::npos) << word;
    }

    const auto pdf = dir / "record.pdf";
    ASSERT_EQ(run({"export", config, "--format", "pdf", "--output", pdf.string()}).exitCode, 0);
    EXPECT_EQ(run({"export", config, "--format", "pdf", "--output", (dir / "no/x.pdf").string()})
                  .exitCode,
              1);
    const std::string text = test::pdfText(pdf);
    for (const char* expected : {"QX4815", "Transmitter Timeout (min)", "45", "TRANSMITTER ID",
                                 "RANGE END", "ANALOG MAIN", "DIGITAL EXT2", "<A&B>", "4095"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    EXPECT_EQ(std::ranges::count(text, '\f'), 1) << "one page";
}

} // namespace
} // namespace kym
