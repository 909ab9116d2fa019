#include "config/ConfigFile.h"
#include "config/DeviceTypes.h"
#include "config/Layout.h"
#include "support/TempDir.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

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
    state.grid.clear();
    state.grid.setCols(6);
    state.grid.setRows(gridRowsFor(type));
    LayoutGrid(state);
    return state;
}

const std::string kHeaderLines = crlf({"CAPTURE", "0", "DEVICE_TYPE", "QD4815", "FILE_TYPE", "",
                                       "CAPTURE_SCALE", "SECONDS", "LOSS_STATE", "LAST",
                                       "SNIFFER_STATE", "", "VENDOR CODE", "171", "PROPERTY CODE",
                                       "0002", "TIMEOUT", "30", "NETWORK_ID", "1"});

const std::string kWorkedExample =
    kHeaderLines +
    crlf({"COLUMN_NAMES", "5", "TRANSMITTER ID:TRANS CHAN:DATA FORMAT:RANGE START:RANGE END:",
          "ROW_DATA", "8", ",1,COUNT,0,4095,;", ",2,COUNT,0,4095,;", ",3,COUNT,0,4095,;",
          ",4,COUNT,0,4095,;", ",1,DIGITAL,,,;", ",2,DIGITAL,,,;", ",3,DIGITAL,,,;",
          ",4,DIGITAL,,,;", ""});

TEST(ConfigFile, NewControlVariantDocumentIsTheWorkedExampleByteForByte) {
    const ProgramState state = newDocument("QD4815");
    EXPECT_EQ(configurationFileBytes(state.header, state.grid), kWorkedExample);
    EXPECT_EQ(splitLines(kWorkedExample).size(), 35u); // 34 lines and entry 0
}

TEST(ConfigFile, EmptyRowsAreFiveCommasAndASemicolon) {
    ProgramState state = newDocument("QX4815");
    const auto lines = splitLines(ConvertFlexGridToString(state.header, state.grid));
    ASSERT_EQ(lines.size(), 26u + 24u);
    EXPECT_EQ(lines[25], "24");
    for (int r = 26; r < 50; ++r)
        EXPECT_EQ(lines[static_cast<std::size_t>(r)], ",,,,,;");
}

ProgramState read(const std::string& text, ProgramState state = {}) {
    const auto result = LoadConfiguration(state, splitLines(text));
    EXPECT_TRUE(result.ok()) << (result.ok() ? "" : result.error().reason);
    return state;
}

TEST(ConfigFile, WrittenDocumentReadsBackTheSame) {
    ProgramState original = newDocument("KYM3815");
    original.header.captureValue = "12";
    original.header.captureInMinutes = true;
    original.header.lossState = "OFF";
    original.header.snifferState = "SNIFFER";
    original.header.vendorCode = "0171";
    original.header.networkID = "7";
    original.grid.setRow(3);
    original.grid.setCol(kColDataFormat);
    original.grid.setText("HUMIDITY");
    const std::string bytes = configurationFileBytes(original.header, original.grid);

    const ProgramState copy = read(bytes);
    EXPECT_EQ(configurationFileBytes(copy.header, copy.grid), bytes);
    EXPECT_EQ(copy.header.captureNumber, 12);
    EXPECT_TRUE(copy.header.captureInMinutes);
    EXPECT_EQ(copy.menus.checkedDeviceType, "KYM3815");
    EXPECT_EQ(copy.menus.compatibilityCaption, "&Compatibility(KYM3815)");
    EXPECT_TRUE(copy.menus.settingsEnabled);
    EXPECT_TRUE(copy.gridVisible);
    EXPECT_EQ(copy.grid.cell(3, 0), "ANALOG");
}

TEST(ConfigFile, KeysInAnyOrderAndBareLineFeeds) {
    std::string text = crlf({"NETWORK_ID", "9", "TIMEOUT", "45", "DEVICE_TYPE", "QR4805",
                             "FILE_TYPE", "FACTORY", "COLUMN_NAMES", "5", "a:b:c:d:e:", "ROW_DATA",
                             "8", "", "", "", "", "00A5,1,DIGITAL,,,;", "", "", "", "", "CAPTURE",
                             "3"});
    std::erase(text, '\r');
    const ProgramState state = read(text);
    EXPECT_EQ(state.header.networkID, "9");
    EXPECT_EQ(state.header.timeout, "45");
    EXPECT_EQ(state.header.timeoutNumber, 45);
    EXPECT_EQ(state.header.captureValue, "3");
    EXPECT_TRUE(state.menus.controlVariantsVisible);
    EXPECT_EQ(state.grid.cell(5, 1), "00A5");
    EXPECT_EQ(state.grid.cell(0, 1), "TRANSMITTER ID"); // the layout rewrites the names
    EXPECT_TRUE(state.grid.rowHidden(1));
}

TEST(ConfigFile, MissingKeysKeepTheirValuesAndEmptyValuesTakeDefaults) {
    ProgramState before;
    before.header.networkID = "5";
    before.header.captureInMinutes = true;
    before.header.fileType = "FACTORY";
    const ProgramState state =
        read(crlf({"CAPTURE", "", "LOSS_STATE", "", "VENDOR CODE", "", "PROPERTY CODE", "",
                   "TIMEOUT", "", "capture", "9"}),
             before);
    EXPECT_EQ(state.header.captureValue, "0");
    EXPECT_EQ(state.header.lossState, "LAST");
    EXPECT_EQ(state.header.vendorCode, "171");
    EXPECT_EQ(state.header.propertyCode, "0002");
    EXPECT_EQ(state.header.timeout, "");
    EXPECT_EQ(state.header.timeoutNumber, 0);
    EXPECT_EQ(state.header.networkID, "5");
    EXPECT_TRUE(state.header.captureInMinutes);
    EXPECT_EQ(state.header.fileType, "FACTORY");
    // Without COLUMN_NAMES the grid stays cleared and not laid out.
    EXPECT_EQ(state.grid.cell(0, 1), "");
    EXPECT_EQ(state.grid.cell(1, 0), "");
    EXPECT_FALSE(state.menus.settingsEnabled);
}

TEST(ConfigFile, RowLinesAreCutAtCommas) {
    const std::string head = crlf({"DEVICE_TYPE", "KYM3815", "COLUMN_NAMES", "5", "", "ROW_DATA", "4"});
    const ProgramState state = read(head + crlf({"1,2,COUNT,0,100,;", "AB,CD", "a,b,c,d,e,f,g,h,",
                                                 "x:y,,z,"}));
    using V = std::vector<std::string>;
    const auto row = [&](int r) {
        V cells;
        for (int c = 1; c <= 5; ++c)
            cells.push_back(state.grid.cell(r, c));
        return cells;
    };
    EXPECT_EQ(row(1), (V{"1", "2", "COUNT", "0", "100"}));
    EXPECT_EQ(row(2), (V{"AB", "", "", "", ""}));    // no trailing comma: the last cell is lost
    EXPECT_EQ(row(3), (V{"a", "b", "c", "d", "e"})); // fields beyond the grid are ignored
    EXPECT_EQ(row(4), (V{"x:y", "", "z", "", ""}));
}

TEST(ConfigFile, ExtenderFileWithEightRowsLeavesTheRestEmpty) {
    const ProgramState state = read(crlf({"DEVICE_TYPE", "QX4815", "COLUMN_NAMES", "5", "",
                                          "ROW_DATA", "8", "1,,,,,;", "2,,,,,;", "3,,,,,;",
                                          "4,,,,,;", "5,,,,,;", "6,,,,,;", "7,,,,,;", "8,,,,,;", ""}));
    EXPECT_EQ(state.grid.rows(), 25);
    EXPECT_EQ(state.grid.cell(8, 1), "8");
    for (int r = 9; r <= 24; ++r)
        EXPECT_EQ(state.grid.cell(r, 1), "") << r;
}

TEST(ConfigFile, DeviceTypeAfterColumnNamesShapesForTheEarlierType) {
    ProgramState before;
    before.header.deviceType = "QR4805";
    const ProgramState state =
        read(crlf({"COLUMN_NAMES", "5", "", "DEVICE_TYPE", "QX4815"}), before);
    EXPECT_EQ(state.grid.rows(), 9);
    EXPECT_TRUE(state.grid.rowHidden(1));
    EXPECT_EQ(state.header.deviceType, "QX4815");
}

TEST(ConfigFile, AMovedIndexIsTestedByTheKeysAfterIt) {
    // CAPTURE_SCALE's value "TIMEOUT" is a key for the tests that follow in the same step; and
    // the line right after the last row is passed over, the one after that is a key again.
    const ProgramState state = read(crlf({"CAPTURE_SCALE", "TIMEOUT", "17", "COLUMN_NAMES", "5",
                                          "", "ROW_DATA", "1", "A,,,,,;", "NETWORK_ID", "NETWORK_ID",
                                          "3"}));
    EXPECT_EQ(state.header.timeout, "17");
    EXPECT_FALSE(state.header.captureInMinutes);
    EXPECT_EQ(state.header.networkID, "3");
}

TEST(ConfigFile, ReadErrorsNameTheLineAndKeepWhatWasRead) {
    struct Case {
        std::string name;
        std::string text;
        int line;
    };
    const std::string head = crlf({"DEVICE_TYPE", "KYM3815", "NETWORK_ID", "4"});
    const std::string columns = crlf({"COLUMN_NAMES", "5", "a:b:c:d:e:"});
    const Case cases[] = {
        {"count not a number", head + columns + crlf({"ROW_DATA", "eight"}), 9},
        {"negative count", head + columns + crlf({"ROW_DATA", "-1"}), 9},
        {"names count not a number", head + crlf({"COLUMN_NAMES", "x", ""}), 6},
        {"names count not five", head + crlf({"COLUMN_NAMES", "6", "a:b:c:d:e:f:"}), 6},
        {"more rows than the grid", head + columns + crlf({"ROW_DATA", "9"}) + std::string(9 * 2, '\n'), 9},
        {"rows past the end", head + columns + crlf({"ROW_DATA", "3", ",,,,,;", ",,,,,;"}), 9},
        {"key on the last line", head + crlf({"TIMEOUT"}), 5},
        {"names line missing", head + crlf({"COLUMN_NAMES", "5"}), 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramState state;
        const auto result = LoadConfiguration(state, splitLines(c.text));
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().line, c.line);
        EXPECT_FALSE(result.error().reason.empty());
        EXPECT_EQ(state.header.deviceType, "KYM3815");
        EXPECT_EQ(state.header.networkID, "4");
        EXPECT_TRUE(state.gridVisible);
    }
}

TEST(ConfigFile, SavingReplacesTheFileAtomically) {
    test::TempDir dir;
    const auto path = dir / "config.vlt";
    ASSERT_TRUE(writeFileAtomically(path, "first").ok());
    ASSERT_TRUE(writeFileAtomically(path, "second").ok());
    EXPECT_EQ(test::readFile(path), "second");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// A write that fails half-way (file size limit) leaves the earlier file as it was and no
// temporary file behind. Unlike a read-only folder, this fails for root too.
TEST(ConfigFile, AFailedWriteKeepsTheEarlierFile) {
    test::TempDir dir;
    const auto path = dir / "config.vlt";
    test::writeFile(path, "earlier");

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto result = writeFileAtomically(path, std::string(4096, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().reason, "File too large");
    EXPECT_EQ(test::readFile(path), "earlier");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(ConfigFile, AReadOnlyFolderKeepsTheEarlierFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    test::TempDir dir;
    const auto path = dir / "config.vlt";
    test::writeFile(path, "earlier");
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_exec);
    const auto result = writeFileAtomically(path, "new");
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(test::readFile(path), "earlier");
}

} // namespace
} // namespace kym
