#include "editor/GridEditing.h"

#include "config/DeviceTypes.h"
#include "config/Layout.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kym {
namespace {

class Editing : public testing::Test {
protected:
    void layOut(const std::string& type) {
        state.header.deviceType = type;
        state.grid.clear();
        state.grid.setRows(gridRowsFor(type));
        LayoutGrid(state);
    }
    EditBox click(int row, int col) {
        state.grid.setRow(row);
        state.grid.setCol(col);
        return editing.clicked();
    }
    const std::string& cell(int row, int col) const { return state.grid.cell(row, col); }
    void put(int row, int col, const std::string& text) {
        state.grid.setRow(row);
        state.grid.setCol(col);
        state.grid.setText(text);
    }

    ProgramState state;
    int marks = 0;
    EditHistory history{state};
    GridEditing editing{state, history, [this] { ++marks; }};
};

// Which box a click lays over each cell, by device type and row band: columns 1 to 5 as "-" for
// none or the initial of TransId, Channel, DataAnalog, DataDigital, Start, End.
TEST_F(Editing, PlacementByDeviceTypeRowAndColumn) {
    const std::tuple<std::string, std::vector<int>, std::string> cases[] = {
        {"KYM3815", {1, 4}, "TCASE"},         {"KYM3815", {5, 8}, "TCDSE"},
        {"QX4815", {9, 12, 17, 20}, "TCASE"}, {"QX4815", {13, 16, 21, 24}, "TCDSE"},
        {"QD4815", {1, 4}, "T-A--"},          {"QD4815", {5, 8}, "T-D--"},
        {"QR4805", {5, 6}, "TCD--"},          {"QR4805", {7}, "--D--"},
        {"QD4805", {5, 6}, "T-D--"},          {"", {2}, "T-A--"},
    };
    for (const auto& [type, rows, expected] : cases) {
        layOut(type);
        for (int row : rows) {
            std::string boxes;
            for (int col = 1; col <= 5; ++col)
                boxes += "-TCADSE"[static_cast<int>(click(row, col))]; // EditBox's order
            EXPECT_EQ(boxes, expected) << type << " row " << row;
        }
    }
    EXPECT_EQ(click(3, 0), EditBox::None);
}

// Delete picks the empty entry: as one marked undo step, the rows whose cell in the column it
// empties, and the row whose DATA FORMAT it makes "DIGITAL"; a cell without a usable box stays.
TEST_F(Editing, DeleteClearsWhatPickingTheEmptyEntryWould) {
    struct Case {
        const char* name;
        std::string type;
        int row, col;
        std::vector<int> emptied;
        int digitalRow = 0;
    };
    const int id = kColTransmitterId;
    const Case cases[] = {
        {"analog transmitter", "KYM3815", 2, id, {2}},
        {"digital transmitter", "KYM3815", 6, id, {6}, 6},
        {"shared transmitter", "QD4815", 2, id, {1, 2, 3, 4, 5, 6, 7, 8}},
        {"paired transmitter", "QD4805", 6, id, {5, 6}, 6},
        {"channel", "KYM3815", 2, kColTransChan, {2}},
        {"data format", "KYM3815", 2, kColDataFormat, {2}},
        {"range start", "KYM3815", 2, kColRangeStart, {2}},
        {"range end", "QX4815", 20, kColRangeEnd, {20}},
        {"disabled box", "QD4815", 2, kColDataFormat, {}},
        {"no box", "QR4805", 5, kColRangeStart, {}},
        {"row label", "KYM3815", 2, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        layOut(c.type);
        for (int row = 1; row < state.grid.rows(); ++row)
            for (int col = 1; col <= kColRangeEnd; ++col)
                put(row, col, "7");
        const DocumentSnapshot filled = history.snapshot();
        const int marksBefore = marks;
        click(c.row, c.col);
        EXPECT_EQ(editing.cleared(), !c.emptied.empty());
        EXPECT_EQ(marks, marksBefore + (c.emptied.empty() ? 0 : 1));
        for (int row = 1; row < state.grid.rows(); ++row)
            for (int col = 1; col <= kColRangeEnd; ++col) {
                const bool emptied = col == c.col && std::ranges::count(c.emptied, row) > 0;
                const bool digital = row == c.digitalRow && col == kColDataFormat;
                EXPECT_EQ(cell(row, col), emptied   ? ""
                                          : digital ? "DIGITAL"
                                                    : "7")
                    << row << "," << col;
            }
        if (c.emptied.empty())
            continue;
        EXPECT_EQ(history.undoName(),
                  state.grid.cell(0, c.col) + " in row " + std::to_string(c.row));
        EXPECT_TRUE(history.undo());
        EXPECT_EQ(history.snapshot(), filled);
    }
}

// Each list as "count:first..last" after its leading empty entry, or the message it gives.
TEST_F(Editing, RangeListsFollowTheRowsDataFormat) {
    const std::string select = "Select Appropriate 'DATA FORMAT' Type!";
    const std::string digital = "Digital rows do not use this parameter.";
    const std::tuple<std::string, int, std::string, std::string> cases[] = {
        {"THERM 20k", 1, "241:-40..200", "241:-40..200"},
        {"COUNT", 2, "4097:0..4096", "4096:0..4095"},
        {"HUMIDITY", 3, "101:0..100", "101:0..100"},
        {"MOISTURE", 4, "101:0..100", "101:0..100"},
        {"count", 1, select, select},
        {"DIGITAL", 5, digital, digital},
        {"RTD 1k", 14, digital, digital},
    };
    const auto shown = [](const RangeList& list) {
        if (list.entries.size() == 1)
            return list.entries.front() + list.message;
        return list.entries.front() + std::to_string(list.entries.size() - 1) + ":" +
               list.entries[1] + ".." + list.entries.back() + list.message;
    };
    layOut("QX4815");
    for (const auto& [format, row, start, end] : cases) {
        SCOPED_TRACE(format);
        put(row, kColDataFormat, format);
        click(row, kColRangeStart);
        EXPECT_EQ(shown(editing.rangeList(RangeEnd::Start)), start);
        EXPECT_EQ(shown(editing.rangeList(RangeEnd::End)), end);
    }
}

TEST_F(Editing, RangePicksKeepStartAtMostEnd) {
    const RangeEnd S = RangeEnd::Start, E = RangeEnd::End;
    const std::tuple<RangeEnd, std::string, std::string, bool> cases[] = {
        {S, "4096", "4095", false}, {S, "4095", "4095", true}, {S, "5", "", true},
        {S, "", "3", true},         {S, "-40", "200", true},   {S, "5", "abc", false},
        {S, "0", "abc", true},      {S, "-40", "x", true},     {E, "3", "4", false},
        {E, "4", "4", true},        {E, "", "90", true},       {E, "7", "", true},
        {E, "10", " 9.5kg", true},
    };
    layOut("KYM3815");
    for (const auto& [end, pick, other, accepted] : cases) {
        const bool start = end == S;
        const int col = start ? kColRangeStart : kColRangeEnd;
        put(2, start ? kColRangeEnd : kColRangeStart, other);
        put(2, col, "old");
        click(2, col);
        const int marksBefore = marks;
        const RangeVerdict verdict = editing.pickedRange(end, pick);
        EXPECT_EQ(verdict.accepted, accepted) << pick << " vs " << other;
        EXPECT_EQ(cell(2, col), accepted ? pick : "old");
        EXPECT_EQ(verdict.message, accepted ? ""
                                   : start  ? "'Start' entry must be <= 'End' entry"
                                            : "'End' entry must be >= 'Start' entry");
        EXPECT_EQ(marks, marksBefore + 1);
    }
}

// Laying the transmitter or channel box over a cell changes its text as typing would.
TEST_F(Editing, PlacingATypedBoxOverADifferentTextIsAChangeAndPicksGoToTheClickedCell) {
    const std::tuple<const char*, int, std::string, bool, int> cases[] = {
        {"transmitter, other text", kColTransmitterId, "2B", false, 1},
        {"transmitter, same text", kColTransmitterId, "1A", false, 0},
        {"channel, other text", kColTransChan, "", false, 1},
        {"first change after opening", kColTransmitterId, "", true, 0},
        {"list-only box", kColDataFormat, "COUNT", false, 0},
        {"range box", kColRangeStart, "5", false, 0},
    };
    layOut("KYM3815");
    for (const auto& [name, col, previous, ignoreNextChange, marked] : cases) {
        SCOPED_TRACE(name);
        put(1, col, "1A");
        state.ignoreNextChange = ignoreNextChange;
        marks = 0;
        editing.placed(click(1, col), previous);
        EXPECT_EQ(marks, marked);
        EXPECT_FALSE(state.ignoreNextChange);
    }

    // A pick goes to the clicked cell even after the current cell moved on.
    click(2, kColTransChan);
    put(6, kColRangeEnd, "");
    editing.picked(EditBox::Channel, "3");
    EXPECT_EQ(cell(2, kColTransChan) + "|" + cell(6, kColRangeEnd), "3|");
}

TEST(ValueLists, TransmitterEntriesAndTheirPositions) {
    const std::pair<int, std::string> entries[] = {{0, ""},     {1, "0"},       {11, "A"},
                                                   {256, "FF"}, {4097, "1000"}, {65521, "FFF0"}};
    for (const auto& [index, entry] : entries) {
        EXPECT_EQ(transmitterIdEntry(index), entry);
        EXPECT_EQ(transmitterIdIndex(entry), index);
    }
    for (const char* text : {"a", "0A", "FFF1", "10000", "G"})
        EXPECT_EQ(transmitterIdIndex(text), -1) << text;
}

} // namespace
} // namespace kym
