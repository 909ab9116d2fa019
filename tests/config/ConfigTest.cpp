#include "config/CodePage.h"
#include "config/ConfigFile.h"
#include "config/DeviceTypes.h"
#include "config/Layout.h"
#include "config/Numbers.h"
#include "config/Paths.h"
#include "config/TextLines.h"
#include "support/ConfigLines.h"
#include "support/FailingSave.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <set>

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
    EXPECT_TRUE(!h.captureInMinutes && state.history.fileTypeRead && state.grid.rowHidden(1));
    // The layout rewrites the names.
    EXPECT_EQ(state.grid.cell(0, 1) + "|" + std::to_string(state.grid.rows()), "TRANSMITTER ID|9");
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
    EXPECT_EQ(h.captureValue + h.lossState + h.vendorCode + h.propertyCode + "|" + h.timeout + "|" +
                  h.networkID,
              "0LAST1710002||5");
    EXPECT_EQ(state.grid.cell(0, 1) + state.grid.cell(1, 0), "");
    EXPECT_TRUE(h.captureInMinutes && !state.history.tableLaidOut &&
                !state.history.deviceTypeGiven && !state.history.fileTypeRead);
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
        EXPECT_TRUE(state.gridVisible &&
                    state.header.deviceType + state.header.networkID == "KYM38154");
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
        EXPECT_TRUE(state.history.tableLaidOut);
        EXPECT_EQ(cells(state.grid, {1, 8}, {0, 0}) + rows + " " + state.history.layoutDeviceType,
                  labels + hidden + " " + recorded);
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
            return writeFileAtomically(
                path, [&](const FileSink& sink) { return sink(text) && !c.fillerFails; });
        };
        const auto saved = c.targetFails ? test::withFailingSave(path, save) : save();
        EXPECT_EQ(saved.ok() || saved.error().reason.empty(), c.saved) << "a failure has a reason";
        EXPECT_EQ(test::readFile(path), c.saved ? text : c.earlier);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}),
                  std::filesystem::exists(path) ? 1 : 0);
#ifndef _WIN32
        const auto mode = std::filesystem::status(path).permissions();
        EXPECT_TRUE(c.earlier.empty() || mode == (owner_read | owner_write | group_read)) << "mode";
#endif
    }
}

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

TEST(SplitLines, LineEndsAndTheFinalPiece) {
    const std::pair<std::string, LineList> cases[] = {
        {"", {""}},
        {"A\r\nB\r\n", {"", "A", "B"}},
        {"A\nB", {"", "A", "B"}},
        {"A\r\n\r\n\n", {"", "A", "", ""}},
        {"A\r\r\nB\rC\n", {"", "A\r", "B\rC"}},
    };
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(splitLines(text), lines) << testing::PrintToString(text);
}

// inQuotes takes Windows-1252 file text, utf8InQuotes UTF-8; both cut after 40 characters.
TEST(InQuotes, AValueOverFortyCharactersIsCutAndCounted) {
    const std::string forty = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd";
    const std::string accents = "éééééééééééééééééééééééééééééééééééééééé"; // 40, two bytes each
    // Whether the text is file text, the text, how it is quoted.
    const std::tuple<bool, std::string, std::string> cases[] = {
        {true, forty, "\"" + forty + "\""},
        {true, forty + std::string(52428760, 'x'), "\"" + forty + "\u2026\" (52428800 characters)"},
        {true, "caf\xE9 \x80\x85", "\"caf\u00e9 \u20ac\u2026\""},
        {true, std::string(41, '\xE9'), "\"" + accents + "\u2026\" (41 characters)"},
        {false, accents + "\u00e9", "\"" + accents + "\u2026\" (41 characters)"},
        {false, forty.substr(1) + "\u20ac\u20ac",
         "\"" + forty.substr(1) + "\u20ac\u2026\" (41 characters)"},
    };
    for (const auto& [fileText, text, quoted] : cases)
        EXPECT_EQ(fileText ? inQuotes(text) : utf8InQuotes(text), quoted) << text.substr(0, 60);
}

TEST(CodePage, EveryByteRoundTripsAndOthersBecomeQuestionMarks) {
    std::set<std::string> characters;
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string text = utf8FromCp1252(byte);
        characters.insert(text);
        EXPECT_EQ(cp1252FromUtf8(text), byte) << b;
    }
    EXPECT_EQ(characters.size(), 256u);
    EXPECT_EQ(utf8FromCp1252(std::string("\x80\x81\x8D\x8F\x90\x9D\x9F\0\x7F\xA0\xE9\xFF", 12)),
              "\u20ac\u0081\u008d\u008f\u0090\u009d\u0178" + std::string("\0\x7F", 2) +
                  "\u00a0\u00e9\u00ff");
    const std::pair<std::string, std::string> toBytes[] = {
        {"\u03a9 \u65e5\u672c \U0001F600", "? ?? ?"}, // not in the code page
        {"\u0080\u009f", "??"},                       // C1 controls Windows-1252 uses otherwise
        {"\xFF\xC3z\xE2\x82", "??z??"},               // not UTF-8
        {"\xC0\xAF\xED\xA0\x80", "?????"},            // overlong, surrogate
    };
    for (const auto& [text, bytes] : toBytes)
        EXPECT_EQ(cp1252FromUtf8(text), bytes) << text;
}

TEST(ReadLineFile, RefusesAFileOverOneMebibyte) {
    test::TempDir dir;
    const std::string limit = "; a register configuration is at most 1 MiB";
    std::vector<std::tuple<std::string, std::uintmax_t, std::string>> cases = {
        {"full.vlt", 1 << 20, "CAPTURE"},
        {"over.vlt", (1 << 20) + 1, "the file is 1048577 bytes" + limit},
        {"huge.vlt", 200u << 20, "the file is 200 MiB" + limit}, // sparse
    };
#ifndef _WIN32
    cases.push_back({"/dev/zero", 0, "the file is more than 1048576 bytes" + limit});
#endif
    for (const auto& [name, size, read] : cases) {
        const std::filesystem::path path = dir / name; // an absolute name stays as it is
        if (size > 0) {
            test::writeFile(path, "CAPTURE\r\n");
            std::filesystem::resize_file(path, size);
        }
        const auto lines = readLineFile(path);
        EXPECT_EQ(lines.ok() ? lines->at(1) : lines.error().reason, read) << name;
    }
}

// strictWholeNumber takes only a text that is one number, rounded half to even as written.
TEST(Numbers, LeadingAndStrictWholeNumbers) {
    constexpr std::int64_t kSaturated = 100000000000000000; // 10^17: far beyond every range used
    const std::tuple<std::string, double, std::optional<std::int64_t>> cases[] = {
        // clang-format off
        {"", 0, {}}, {"abc", 0, {}}, {"4095x", 4095, {}}, {"\t5", 0, {}}, {"- 5", 0, {}},
        {"1 2", 1, {}}, {".", 0, {}}, {"1e3", 1, {}}, {"1.2.3", 1.2, {}}, {"  12 ", 12, 12},
        {"-.5", -0.5, 0}, {"+2.50", 2.5, 2}, {"3.5", 3.5, 4}, {"-2.5", -2.5, -2}, {"7.", 7, 7},
        {".51", 0.51, 1}, {"0.49999", 0.49999, 0}, {"00000000000000000000000012", 12, 12},
        {"2.50000000000000001", 2.5, 3}, {"3.49999999999999999", 3.5, 3},
        {"-2147483648.50000001", -2147483648.5, -2147483649},
        {"123456789012345678901234567890", 1.2345678901234568e29, kSaturated},
        {"-99999999999999999999.9", -1e20, -kSaturated},
        // clang-format on
    };
    for (const auto& [text, leading, whole] : cases) {
        EXPECT_DOUBLE_EQ(leadingNumber(text), leading) << '"' << text << '"';
        EXPECT_EQ(strictWholeNumber(text), whole) << '"' << text << '"';
    }
    for (const auto& [value, rounded] : {std::pair{0.5, 0.0}, {1.5, 2.0}, {2.5, 2.0}, {-2.5, -2.0}})
        EXPECT_EQ(roundHalfEven(value), rounded) << value;
}

} // namespace
} // namespace kym
