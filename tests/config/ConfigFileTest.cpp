#include "config/ConfigFile.h"

#include "config/DeviceTypes.h"
#include "config/Layout.h"
#include "support/ConfigLines.h"

#include <gtest/gtest.h>

namespace kym {
namespace {

using Rows = std::vector<std::string>;

// A file's lines, given joined by "|", each ended by CR LF.
std::string crlf(std::string_view lines) {
    std::string text;
    for (const char c : lines)
        c == '|' ? text.append("\r\n") : text.append(1, c);
    return text + "\r\n";
}

ProgramState newDocument(const std::string& type) {
    ProgramState state;
    state.header.deviceType = type;
    state.grid.setRows(gridRowsFor(type));
    LayoutGrid(state);
    return state;
}

ProgramState read(const std::string& text, ProgramState state = {}) {
    const auto result = LoadConfiguration(state, splitLines(text));
    EXPECT_TRUE(result.ok()) << (result.ok() ? "" : result.error().reason);
    return state;
}

// The cells of rows `rows` in columns `cols`, each followed by "|".
std::string cells(const RegisterGrid& grid, std::pair<int, int> rows, std::pair<int, int> cols) {
    std::string texts;
    for (int r = rows.first; r <= rows.second; ++r)
        for (int c = cols.first; c <= cols.second; ++c)
            texts += grid.cell(r, c) + "|";
    return texts;
}

// New documents are written byte for byte; read back with other settings, a file is written
// again unchanged.
TEST(ConfigFile, NewDocumentsAreWrittenByteForByteAndReadBackTheSame) {
    const std::string empty = ",,,,,;";
    const std::pair<const char*, Rows> cases[] = {
        {"QD4815",
         {",1,COUNT,0,4095,;", ",2,COUNT,0,4095,;", ",3,COUNT,0,4095,;", ",4,COUNT,0,4095,;",
          ",1,DIGITAL,,,;", ",2,DIGITAL,,,;", ",3,DIGITAL,,,;", ",4,DIGITAL,,,;"}},
        {"QD4805", {empty, empty, empty, empty, ",1,DIGITAL,,,;", ",2,DIGITAL,,,;", empty, empty}},
        {"QX4815", Rows(24, empty)},
    };
    for (const auto& [type, rows] : cases) {
        SCOPED_TRACE(type);
        const ProgramState state = newDocument(type);
        test::ConfigLines file(type, rows);
        EXPECT_EQ(configurationFileBytes(state.header, state.grid), file.text());
        file.set("CAPTURE", "12").set("CAPTURE_SCALE", "MINUTES").set("LOSS_STATE", "OFF");
        file.set("SNIFFER_STATE", "SNIFFER").set("NETWORK_ID", "7");
        const ProgramState copy = read(file.text());
        EXPECT_EQ(configurationFileBytes(copy.header, copy.grid), file.text());
        EXPECT_EQ(copy.header.captureNumber, 12);
        EXPECT_TRUE(copy.header.captureInMinutes && copy.history.deviceTypeGiven);
        EXPECT_EQ(copy.history.layoutDeviceType, type);
    }
}

TEST(ConfigFile, KeysInAnyOrderWithBareLineFeedsAndCellsCutAtCommas) {
    std::string text = crlf("NETWORK_ID|9|TIMEOUT|45|DEVICE_TYPE|QR4805|FILE_TYPE|FACTORY|"
                            "COLUMN_NAMES|5|a:b:c:d:e:|ROW_DATA|8|1,2,COUNT,0,100,;|AB,CD|"
                            "a,b,c,d,e,f,g,h,|x:y,,z,|00A5,|||||CAPTURE|3|capture|7");
    std::erase(text, '\r');
    const ProgramState state = read(text);
    EXPECT_EQ(state.header.networkID + "/" + state.header.captureValue, "9/3");
    EXPECT_EQ(state.header.timeoutNumber, 45);
    EXPECT_TRUE(state.history.fileTypeRead);
    EXPECT_EQ(state.grid.cell(0, 1), "TRANSMITTER ID"); // the layout rewrites the names
    EXPECT_TRUE(state.grid.rowHidden(1));
    // Without a trailing comma the last cell is lost; fields beyond the grid are ignored.
    EXPECT_EQ(cells(state.grid, {1, 5}, {1, 5}),
              "1|2|COUNT|0|100|AB|||||a|b|c|d|e|x:y||z|||00A5|||||");
}

TEST(ConfigFile, MissingKeysKeepTheirValuesAndEmptyValuesTakeDefaults) {
    ProgramState before;
    before.header.networkID = "5";
    before.header.captureInMinutes = true;
    const ProgramState state =
        read(crlf("CAPTURE||LOSS_STATE||VENDOR CODE||PROPERTY CODE||TIMEOUT|"), before);
    const HeaderSettings& h = state.header;
    EXPECT_EQ(h.captureValue + h.lossState + h.vendorCode + h.propertyCode + "|" + h.timeout,
              "0LAST1710002|");
    EXPECT_EQ(h.networkID, "5");
    EXPECT_TRUE(h.captureInMinutes);
    // Without COLUMN_NAMES the grid stays cleared and not laid out.
    EXPECT_EQ(state.grid.cell(0, 1) + state.grid.cell(1, 0), "");
    EXPECT_FALSE(state.history.tableLaidOut || state.history.deviceTypeGiven ||
                 state.history.fileTypeRead);
}

TEST(ConfigFile, TheTableIsShapedForTheTypeInForceAtColumnNames) {
    const ProgramState extender =
        read(crlf("DEVICE_TYPE|QX4815|COLUMN_NAMES|5||ROW_DATA|2|1,,,,,;|2,,,,,;|"));
    EXPECT_EQ(extender.grid.rows(), 25);
    EXPECT_EQ(extender.grid.cell(2, 1) + extender.grid.cell(3, 1), "2");

    ProgramState before;
    before.header.deviceType = "QR4805";
    const ProgramState late = read(crlf("COLUMN_NAMES|5||DEVICE_TYPE|QX4815"), before);
    EXPECT_EQ(late.grid.rows(), 9);
    EXPECT_TRUE(late.grid.rowHidden(1));
}

// CAPTURE_SCALE's value "TIMEOUT" is a key for the tests that follow in the same step; the line
// right after the last row is passed over, the one after it is a key again.
TEST(ConfigFile, AMovedIndexIsTestedByTheKeysAfterIt) {
    const ProgramState state = read(crlf("CAPTURE_SCALE|TIMEOUT|17|COLUMN_NAMES|5||ROW_DATA|1|"
                                         "A,,,,,;|NETWORK_ID|NETWORK_ID|3"));
    EXPECT_EQ(state.header.timeout + "/" + state.header.networkID, "17/3");
    EXPECT_FALSE(state.header.captureInMinutes);
}

TEST(ConfigFile, ReadErrorsNameTheLineAndKeepWhatWasRead) {
    const std::string columns = "COLUMN_NAMES|5|a:b:c:d:e:|";
    const std::pair<std::string, int> cases[] = {
        {columns + "ROW_DATA|eight", 9},
        {columns + "ROW_DATA|-1", 9},
        {"COLUMN_NAMES|x|", 6},
        {"COLUMN_NAMES|6|a:b:c:d:e:f:", 6},
        {columns + "ROW_DATA|9" + std::string(18, '|'), 9}, // more rows than the grid
        {columns + "ROW_DATA|3|,,,,,;|,,,,,;", 9},          // rows past the end
        {columns + "ROW_DATA|4294967297|,,,,,;", 9},        // not cut to 32 bits
        {"TIMEOUT", 5},
        {"COLUMN_NAMES|5", 6},
    };
    for (const auto& [tail, line] : cases) {
        SCOPED_TRACE(tail);
        ProgramState state;
        const auto result =
            LoadConfiguration(state, splitLines(crlf("DEVICE_TYPE|KYM3815|NETWORK_ID|4|" + tail)));
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().line, line);
        EXPECT_EQ(state.header.deviceType + state.header.networkID, "KYM38154");
        EXPECT_TRUE(state.gridVisible);
    }
}

TEST(LayoutGrid, LabelsAndHiddenRowsPerDeviceType) {
    const std::string plain = "ANALOG|ANALOG|ANALOG|ANALOG|DIGITAL|DIGITAL|DIGITAL|DIGITAL|";
    const std::string two = "||||DIGITAL|DIGITAL|||";
    const struct {
        std::string type, labels, hidden, recorded; // hidden: rows 1-8; recorded: the layout type
    } cases[] = {
        {"KYM3815", plain, "--------", "KYM3815"}, {"OTHER", plain, "--------", ""},
        {"QR4805", two, "hhhh--hh", "QR4805"},     {"QD4815", plain, "--------", "QD4815"},
        {"QD4805", two, "hhhh--hh", "QD4805"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        const ProgramState state = newDocument(c.type);
        const RegisterGrid& grid = state.grid;
        std::string hidden;
        for (int r = 1; r <= 8; ++r)
            hidden += grid.rowHidden(r) ? 'h' : '-';
        EXPECT_EQ(cells(grid, {1, 8}, {0, 0}) + hidden, c.labels + c.hidden);
        EXPECT_TRUE(state.history.tableLaidOut);
        EXPECT_EQ(state.history.layoutDeviceType, c.recorded);
    }
}

} // namespace
} // namespace kym
