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

// Which box a click lays over each cell, by device type and row band.
TEST_F(Editing, PlacementByDeviceTypeRowAndColumn) {
    using B = EditBox;
    struct Case {
        std::string type;
        std::vector<int> rows;
        std::array<B, 5> boxes; // columns 1 to 5
    };
    const std::array<B, 5> full{B::TransId, B::Channel, B::DataAnalog, B::Start, B::End};
    const std::array<B, 5> fullDigital{B::TransId, B::Channel, B::DataDigital, B::Start, B::End};
    const Case cases[] = {
        {"KYM3815", {1, 4}, full},
        {"KYM3815", {5, 8}, fullDigital},
        {"QX4815", {9, 12, 17, 20}, full},
        {"QX4815", {13, 16, 21, 24}, fullDigital},
        {"QD4815", {1, 4}, {B::TransId, B::None, B::DataAnalog, B::None, B::None}},
        {"QD4815", {5, 8}, {B::TransId, B::None, B::DataDigital, B::None, B::None}},
        {"QR4805", {5, 6}, {B::TransId, B::Channel, B::DataDigital, B::None, B::None}},
        {"QR4805", {7}, {B::None, B::None, B::DataDigital, B::None, B::None}},
        {"QD4805", {5, 6}, {B::TransId, B::None, B::DataDigital, B::None, B::None}},
        {"", {2}, {B::TransId, B::None, B::DataAnalog, B::None, B::None}},
    };
    for (const auto& c : cases) {
        layOut(c.type);
        for (int row : c.rows)
            for (int col = 1; col <= 5; ++col)
                EXPECT_EQ(click(row, col), c.boxes[static_cast<std::size_t>(col - 1)])
                    << c.type << " row " << row << " col " << col;
    }
    EXPECT_EQ(click(3, 0), B::None);
}

TEST_F(Editing, TransmitterPicksFillTheCellsTheDeviceTypeTies) {
    layOut("QD4815");
    click(3, kColTransmitterId);
    editing.picked(EditBox::TransId, "1A");
    for (int row = 1; row <= 8; ++row)
        EXPECT_EQ(cell(row, kColTransmitterId), "1A") << row;

    layOut("QD4805");
    click(6, kColTransmitterId);
    editing.picked(EditBox::TransId, "FFF0");
    EXPECT_EQ(cell(5, kColTransmitterId), "FFF0");
    EXPECT_EQ(cell(6, kColTransmitterId), "FFF0");
    EXPECT_EQ(cell(6, kColDataFormat), "DIGITAL");

    layOut("KYM3815");
    put(7, kColTransmitterId, "22");
    click(7, kColTransmitterId);
    editing.picked(EditBox::TransId, "");
    EXPECT_EQ(cell(7, kColTransmitterId), "");
    EXPECT_EQ(cell(7, kColDataFormat), "DIGITAL");
    click(2, kColTransmitterId);
    editing.picked(EditBox::TransId, "5");
    EXPECT_EQ(cell(2, kColDataFormat), "");
    EXPECT_EQ(marks, 4);
}

TEST_F(Editing, PicksGoToTheClickedCellEvenAfterTheCurrentCellMoved) {
    layOut("KYM3815");
    click(2, kColTransChan);
    state.grid.setRow(6);
    state.grid.setCol(kColRangeEnd);
    editing.picked(EditBox::Channel, "3");
    EXPECT_EQ(cell(2, kColTransChan), "3");
    EXPECT_EQ(cell(6, kColRangeEnd), "");
}

// Delete picks the empty entry of the cell's box, with the cells the device type ties to it, as
// one undo step; a cell without a usable box keeps its text.
TEST_F(Editing, DeleteClearsWhatPickingTheEmptyEntryWould) {
    struct Case {
        const char* name;
        std::string type;
        int row, col;
        std::vector<std::pair<int, int>> emptied;
        int digitalRow = 0; // whose DATA FORMAT the pick makes "DIGITAL"
    };
    const int id = kColTransmitterId;
    const Case cases[] = {
        {"digital transmitter", "KYM3815", 6, id, {{6, id}}, 6},
        {"shared transmitter",
         "QD4815",
         2,
         id,
         {{1, id}, {2, id}, {3, id}, {4, id}, {5, id}, {6, id}, {7, id}, {8, id}}},
        {"channel", "KYM3815", 2, kColTransChan, {{2, kColTransChan}}},
        {"data format", "KYM3815", 2, kColDataFormat, {{2, kColDataFormat}}},
        {"range start", "KYM3815", 2, kColRangeStart, {{2, kColRangeStart}}},
        {"range end", "QX4815", 20, kColRangeEnd, {{20, kColRangeEnd}}},
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
        click(c.row, c.col);
        EXPECT_EQ(editing.cleared(), !c.emptied.empty());
        for (int row = 1; row < state.grid.rows(); ++row)
            for (int col = 1; col <= kColRangeEnd; ++col) {
                const bool emptied = std::ranges::count(c.emptied, std::pair{row, col}) > 0;
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
    const struct {
        std::string format;
        int row;
        std::string start, end;
    } cases[] = {
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        put(c.row, kColDataFormat, c.format);
        click(c.row, kColRangeStart);
        EXPECT_EQ(shown(editing.rangeList(RangeEnd::Start)), c.start);
        EXPECT_EQ(shown(editing.rangeList(RangeEnd::End)), c.end);
    }
}

TEST_F(Editing, RangePicksKeepStartAtMostEnd) {
    struct Case {
        RangeEnd end;
        std::string pick, other;
        bool accepted;
    };
    const Case cases[] = {
        {RangeEnd::Start, "4096", "4095", false}, {RangeEnd::Start, "4095", "4095", true},
        {RangeEnd::Start, "5", "", true},         {RangeEnd::Start, "", "3", true},
        {RangeEnd::Start, "-40", "200", true},    {RangeEnd::Start, "5", "abc", false},
        {RangeEnd::Start, "0", "abc", true},      {RangeEnd::Start, "-40", "x", true},
        {RangeEnd::End, "3", "4", false},         {RangeEnd::End, "4", "4", true},
        {RangeEnd::End, "", "90", true},          {RangeEnd::End, "7", "", true},
        {RangeEnd::End, "10", " 9.5kg", true},
    };
    layOut("KYM3815");
    for (const auto& c : cases) {
        const bool start = c.end == RangeEnd::Start;
        const int col = start ? kColRangeStart : kColRangeEnd;
        put(2, start ? kColRangeEnd : kColRangeStart, c.other);
        put(2, col, "old");
        click(2, col);
        const int marksBefore = marks;
        const RangeVerdict verdict = editing.pickedRange(c.end, c.pick);
        EXPECT_EQ(verdict.accepted, c.accepted) << c.pick << " vs " << c.other;
        EXPECT_EQ(cell(2, col), c.accepted ? c.pick : "old");
        EXPECT_EQ(verdict.message, c.accepted ? ""
                                   : start    ? "'Start' entry must be <= 'End' entry"
                                              : "'End' entry must be >= 'Start' entry");
        EXPECT_EQ(marks, marksBefore + 1);
    }
}

// Laying the transmitter or channel box over a cell changes its text as typing would, which is a
// change unless the text stays or the first change after opening a file absorbs it.
TEST_F(Editing, PlacingATypedBoxOverADifferentTextIsAChange) {
    struct Case {
        const char* name;
        int col;
        std::string previous;
        bool ignoreNextChange;
        int marks;
    };
    const Case cases[] = {
        {"transmitter, other text", kColTransmitterId, "2B", false, 1},
        {"transmitter, same text", kColTransmitterId, "1A", false, 0},
        {"channel, other text", kColTransChan, "", false, 1},
        {"first change after opening", kColTransmitterId, "", true, 0},
        {"list-only box", kColDataFormat, "COUNT", false, 0},
        {"range box", kColRangeStart, "5", false, 0},
    };
    layOut("KYM3815");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        put(1, c.col, "1A");
        state.ignoreNextChange = c.ignoreNextChange;
        marks = 0;
        editing.placed(click(1, c.col), c.previous);
        EXPECT_EQ(marks, c.marks);
        EXPECT_FALSE(state.ignoreNextChange);
    }
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
