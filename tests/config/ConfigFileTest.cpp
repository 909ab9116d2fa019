#include "config/ConfigFile.h"

#include "config/DeviceTypes.h"
#include "config/Layout.h"

#include <gtest/gtest.h>

namespace kym {
namespace {

std::string crlf(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (auto line : lines)
        text.append(line).append("\r\n");
    return text;
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

std::string row(const ProgramState& state, int r) {
    std::string cells;
    for (int c = 1; c <= 5; ++c)
        cells += state.grid.cell(r, c) + "|";
    return cells;
}

TEST(ConfigFile, NewDocumentsAreWrittenByteForByte) {
    const std::string worked = crlf({"CAPTURE",
                                     "0",
                                     "DEVICE_TYPE",
                                     "QD4815",
                                     "FILE_TYPE",
                                     "",
                                     "CAPTURE_SCALE",
                                     "SECONDS",
                                     "LOSS_STATE",
                                     "LAST",
                                     "SNIFFER_STATE",
                                     "",
                                     "VENDOR CODE",
                                     "171",
                                     "PROPERTY CODE",
                                     "0002",
                                     "TIMEOUT",
                                     "30",
                                     "NETWORK_ID",
                                     "1",
                                     "COLUMN_NAMES",
                                     "5",
                                     "TRANSMITTER ID:TRANS CHAN:DATA FORMAT:RANGE START:RANGE END:",
                                     "ROW_DATA",
                                     "8",
                                     ",1,COUNT,0,4095,;",
                                     ",2,COUNT,0,4095,;",
                                     ",3,COUNT,0,4095,;",
                                     ",4,COUNT,0,4095,;",
                                     ",1,DIGITAL,,,;",
                                     ",2,DIGITAL,,,;",
                                     ",3,DIGITAL,,,;",
                                     ",4,DIGITAL,,,;",
                                     ""});
    const ProgramState four = newDocument("QD4815");
    EXPECT_EQ(configurationFileBytes(four.header, four.grid), worked);

    const ProgramState extender = newDocument("QX4815");
    const auto lines = splitLines(ConvertFlexGridToString(extender.header, extender.grid));
    ASSERT_EQ(lines.size(), 50u);
    EXPECT_EQ(lines[25], "24");
    EXPECT_EQ(lines[49], ",,,,,;");
}

TEST(ConfigFile, WrittenDocumentReadsBackTheSame) {
    ProgramState original = newDocument("KYM3815");
    HeaderSettings& h = original.header;
    h.captureValue = "12";
    h.captureInMinutes = true;
    h.lossState = "OFF";
    h.snifferState = "SNIFFER";
    h.networkID = "7";
    original.grid.setRow(3);
    original.grid.setCol(kColDataFormat);
    original.grid.setText("HUMIDITY");
    const std::string bytes = configurationFileBytes(h, original.grid);

    const ProgramState copy = read(bytes);
    EXPECT_EQ(configurationFileBytes(copy.header, copy.grid), bytes);
    EXPECT_EQ(copy.header.captureNumber, 12);
    EXPECT_TRUE(copy.history.deviceTypeGiven);
    EXPECT_EQ(copy.history.layoutDeviceType, "KYM3815");
    EXPECT_EQ(copy.grid.cell(3, 0), "ANALOG");
}

TEST(ConfigFile, KeysInAnyOrderWithBareLineFeedsAndCellsCutAtCommas) {
    std::string text = crlf({"NETWORK_ID",
                             "9",
                             "TIMEOUT",
                             "45",
                             "DEVICE_TYPE",
                             "QR4805",
                             "FILE_TYPE",
                             "FACTORY",
                             "COLUMN_NAMES",
                             "5",
                             "a:b:c:d:e:",
                             "ROW_DATA",
                             "8",
                             "1,2,COUNT,0,100,;",
                             "AB,CD",
                             "a,b,c,d,e,f,g,h,",
                             "x:y,,z,",
                             "00A5,",
                             "",
                             "",
                             "",
                             "",
                             "CAPTURE",
                             "3",
                             "capture",
                             "7"});
    std::erase(text, '\r');
    const ProgramState state = read(text);
    EXPECT_EQ(state.header.networkID, "9");
    EXPECT_EQ(state.header.timeoutNumber, 45);
    EXPECT_EQ(state.header.captureValue, "3");
    EXPECT_TRUE(state.history.fileTypeRead);
    EXPECT_EQ(state.grid.cell(0, 1), "TRANSMITTER ID"); // the layout rewrites the names
    EXPECT_TRUE(state.grid.rowHidden(1));
    EXPECT_EQ(row(state, 1), "1|2|COUNT|0|100|");
    EXPECT_EQ(row(state, 2), "AB|||||");    // no trailing comma: the last cell is lost
    EXPECT_EQ(row(state, 3), "a|b|c|d|e|"); // fields beyond the grid are ignored
    EXPECT_EQ(row(state, 4), "x:y||z|||");
    EXPECT_EQ(row(state, 5), "00A5|||||");
}

TEST(ConfigFile, MissingKeysKeepTheirValuesAndEmptyValuesTakeDefaults) {
    ProgramState before;
    before.header.networkID = "5";
    before.header.captureInMinutes = true;
    const ProgramState state = read(crlf({"CAPTURE", "", "LOSS_STATE", "", "VENDOR CODE", "",
                                          "PROPERTY CODE", "", "TIMEOUT", ""}),
                                    before);
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
    const ProgramState extender = read(crlf({"DEVICE_TYPE", "QX4815", "COLUMN_NAMES", "5", "",
                                             "ROW_DATA", "2", "1,,,,,;", "2,,,,,;", ""}));
    EXPECT_EQ(extender.grid.rows(), 25);
    EXPECT_EQ(extender.grid.cell(2, 1) + extender.grid.cell(3, 1), "2");

    ProgramState before;
    before.header.deviceType = "QR4805";
    const ProgramState late =
        read(crlf({"COLUMN_NAMES", "5", "", "DEVICE_TYPE", "QX4815"}), before);
    EXPECT_EQ(late.grid.rows(), 9);
    EXPECT_TRUE(late.grid.rowHidden(1));
}

TEST(ConfigFile, AMovedIndexIsTestedByTheKeysAfterIt) {
    // CAPTURE_SCALE's value "TIMEOUT" is a key for the tests that follow in the same step; the
    // line right after the last row is passed over, the one after it is a key again.
    const ProgramState state =
        read(crlf({"CAPTURE_SCALE", "TIMEOUT", "17", "COLUMN_NAMES", "5", "", "ROW_DATA", "1",
                   "A,,,,,;", "NETWORK_ID", "NETWORK_ID", "3"}));
    EXPECT_EQ(state.header.timeout, "17");
    EXPECT_FALSE(state.header.captureInMinutes);
    EXPECT_EQ(state.header.networkID, "3");
}

TEST(ConfigFile, ReadErrorsNameTheLineAndKeepWhatWasRead) {
    const std::string head = crlf({"DEVICE_TYPE", "KYM3815", "NETWORK_ID", "4"});
    const std::string columns = crlf({"COLUMN_NAMES", "5", "a:b:c:d:e:"});
    const std::pair<std::string, int> cases[] = {
        {columns + crlf({"ROW_DATA", "eight"}), 9},
        {columns + crlf({"ROW_DATA", "-1"}), 9},
        {crlf({"COLUMN_NAMES", "x", ""}), 6},
        {crlf({"COLUMN_NAMES", "6", "a:b:c:d:e:f:"}), 6},
        {columns + crlf({"ROW_DATA", "9"}) + std::string(18, '\n'), 9}, // more rows than the grid
        {columns + crlf({"ROW_DATA", "3", ",,,,,;", ",,,,,;"}), 9},     // rows past the end
        {crlf({"TIMEOUT"}), 5},
        {crlf({"COLUMN_NAMES", "5"}), 6},
    };
    for (const auto& [tail, line] : cases) {
        SCOPED_TRACE(tail);
        ProgramState state;
        const auto result = LoadConfiguration(state, splitLines(head + tail));
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().line, line);
        EXPECT_EQ(state.header.deviceType + state.header.networkID, "KYM38154");
        EXPECT_TRUE(state.gridVisible);
    }
}

} // namespace
} // namespace kym
