#include "config/ConfigFile.h"

#include "config/DeviceTypes.h"
#include "config/Layout.h"
#include "config/Paths.h"
#include "support/ConfigLines.h"
#include "support/FailingSave.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace kym {
namespace {

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

std::string cells(const RegisterGrid& grid, std::pair<int, int> rows, std::pair<int, int> cols) {
    std::string texts;
    for (int r = rows.first; r <= rows.second; ++r)
        for (int c = cols.first; c <= cols.second; ++c)
            texts += grid.cell(r, c) + "|";
    return texts;
}

TEST(ConfigFile, NewDocumentsAreWrittenByteForByteAndReadBackTheSame) {
    const std::string empty = ",,,,,;";
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"QD4815",
         {",1,COUNT,0,4095,;", ",2,COUNT,0,4095,;", ",3,COUNT,0,4095,;", ",4,COUNT,0,4095,;",
          ",1,DIGITAL,,,;", ",2,DIGITAL,,,;", ",3,DIGITAL,,,;", ",4,DIGITAL,,,;"}},
        {"QD4805", {empty, empty, empty, empty, ",1,DIGITAL,,,;", ",2,DIGITAL,,,;", empty, empty}},
        {"QX4815", std::vector(24, empty)},
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

// CAPTURE_SCALE's value "TIMEOUT" is a key for the keys tested after it in the same step; the
// line right after the last row is passed over. The table takes the type in force at COLUMN_NAMES.
TEST(ConfigFile, KeysInAnyOrderWithBareLineFeedsAndCellsCutAtCommas) {
    ProgramState before;
    before.header.deviceType = "QR4805";
    before.header.captureInMinutes = true;
    std::string text = crlf("CAPTURE_SCALE|TIMEOUT|45|FILE_TYPE|FACTORY|COLUMN_NAMES|5|a:b:c:d:e:|"
                            "ROW_DATA|8|1,2,COUNT,0,100,;|AB,CD|a,b,c,d,e,f,g,h,|x:y,,z,|00A5,||||"
                            "NETWORK_ID|NETWORK_ID|9|CAPTURE|3|capture|DEVICE_TYPE|QX4815");
    std::erase(text, '\r');
    const ProgramState state = read(text, before);
    const HeaderSettings& h = state.header;
    EXPECT_EQ(h.networkID + "/" + h.captureValue + "/" + h.timeout + "/" + h.deviceType,
              "9/3/45/QX4815");
    EXPECT_EQ(h.timeoutNumber, 45);
    EXPECT_FALSE(h.captureInMinutes);
    EXPECT_TRUE(state.history.fileTypeRead);
    EXPECT_EQ(state.grid.cell(0, 1), "TRANSMITTER ID"); // the layout rewrites the names
    EXPECT_EQ(state.grid.rows(), 9);
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
    EXPECT_EQ(state.grid.cell(0, 1) + state.grid.cell(1, 0), "");
    EXPECT_FALSE(state.history.tableLaidOut || state.history.deviceTypeGiven ||
                 state.history.fileTypeRead);
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
    // The type, its labels, its hidden rows among rows 1-8 and the type recorded as laid out.
    const std::array<std::string, 4> cases[] = {
        {"KYM3815", plain, "--------", "KYM3815"}, {"OTHER", plain, "--------", ""},
        {"QR4805", two, "hhhh--hh", "QR4805"},     {"QD4815", plain, "--------", "QD4815"},
        {"QD4805", two, "hhhh--hh", "QD4805"},
    };
    for (const auto& [type, labels, hidden, recorded] : cases) {
        SCOPED_TRACE(type);
        const ProgramState state = newDocument(type);
        std::string rows;
        for (int r = 1; r <= 8; ++r)
            rows += state.grid.rowHidden(r) ? 'h' : '-';
        EXPECT_EQ(cells(state.grid, {1, 8}, {0, 0}) + rows, labels + hidden);
        EXPECT_TRUE(state.history.tableLaidOut);
        EXPECT_EQ(state.history.layoutDeviceType, recorded);
    }
}

// The bytes are written as given: a text-mode write on Windows would double CR LF.
TEST(WriteFileAtomically, ReplacesTheEarlierFileOrKeepsItWhole) {
    using enum std::filesystem::perms;
    const std::string text = "DEVICE_TYPE\r\nQX4815\r\n\r\n";
    const struct {
        std::string name, earlier, target; // earlier empty: no file before the save
        bool saved, fillerFails = false, targetFails = false;
    } cases[] = {
        {"new file", "", "a.vlt", true},
        {"over an existing file", "old\r\n", "a.vlt", true},
        {"the filler fails", "old\r\n", "a.vlt", false, true},
        {"the folder is missing", "", "missing/a.vlt", false},
        {"the target cannot be written", "old\r\n", "a.vlt", false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const auto path = dir / c.target;
        if (!c.earlier.empty()) {
            test::writeFile(path, c.earlier);
            std::filesystem::permissions(path, owner_read | owner_write | group_read);
        }
        const auto save = [&] {
            return c.fillerFails
                       ? writeFileAtomically(
                             path, [](const FileSink& sink) { return sink("half") && false; })
                       : writeFileAtomically(path, text);
        };
        const auto saved = c.targetFails ? test::withFailingSave(path, save) : save();
        EXPECT_EQ(saved.ok() || saved.error().reason.empty(), c.saved) << "a failure has a reason";
        EXPECT_EQ(test::readFile(path), c.saved ? text : c.earlier);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}),
                  std::filesystem::exists(path) ? 1 : 0);
#ifndef _WIN32
        if (!c.earlier.empty()) {
            EXPECT_EQ(std::filesystem::status(path).permissions(),
                      owner_read | owner_write | group_read);
        }
#endif
    }
}

// Names reach the file system as UTF-8, also outside the ANSI code page on Windows.
TEST(Paths, AFileNameWithNonAsciiLettersRoundTrips) {
    test::TempDir dir;
    const std::string folder = utf8Of(dir.path()) + "/Zürich Ωmega";
    const std::string name = folder + "/Käse €.vlt";
    std::filesystem::create_directory(pathFromUtf8(folder));
    ASSERT_TRUE(writeFileAtomically(pathFromUtf8(name), "CAPTURE\r\n5\r\n").ok());
    const auto found = *std::filesystem::directory_iterator(pathFromUtf8(folder));
    EXPECT_EQ(utf8Of(found.path().filename()), "Käse €.vlt");
    const auto lines = readLineFile(pathFromUtf8(name));
    EXPECT_EQ(lines.ok() ? lines->at(2) : lines.error().reason, "5");
}

} // namespace
} // namespace kym
