#include "config/Layout.h"

#include "config/DeviceTypes.h"

#include <gtest/gtest.h>

namespace kym {
namespace {

ProgramState laidOut(const std::string& type) {
    ProgramState state;
    state.header.deviceType = type;
    state.grid.setRows(gridRowsFor(type));
    LayoutGrid(state);
    return state;
}

// A column of rows 1 to 8 as one text, cells joined by "|".
std::string column(const RegisterGrid& grid, int col) {
    std::string texts;
    for (int r = 1; r <= 8; ++r)
        texts += grid.cell(r, col) + (r < 8 ? "|" : "");
    return texts;
}

TEST(LayoutGrid, LabelsHiddenRowsAndPreFilledCellsPerDeviceType) {
    struct Case {
        std::string type, labels, hidden, recorded; // hidden: rows 1-8; recorded: the layout type
        std::string channels, formats, starts, ends;
    };
    const std::string plain = "ANALOG|ANALOG|ANALOG|ANALOG|DIGITAL|DIGITAL|DIGITAL|DIGITAL";
    const std::string two = "||||DIGITAL|DIGITAL||";
    const std::string empty = "|||||||";
    const Case cases[] = {
        {"KYM3815", plain, "--------", "KYM3815", empty, empty, empty, empty},
        {"OTHER", plain, "--------", "", empty, empty, empty, empty},
        {"QR4805", two, "hhhh--hh", "QR4805", empty, empty, empty, empty},
        {"QD4815", plain, "--------", "QD4815", "1|2|3|4|1|2|3|4",
         "COUNT|COUNT|COUNT|COUNT|DIGITAL|DIGITAL|DIGITAL|DIGITAL", "0|0|0|0||||",
         "4095|4095|4095|4095||||"},
        {"QD4805", two, "hhhh--hh", "QD4805", "||||1|2||", two, empty, empty},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        const ProgramState state = laidOut(c.type);
        const RegisterGrid& grid = state.grid;
        EXPECT_EQ(column(grid, 0), c.labels);
        std::string hidden;
        for (int r = 1; r <= 8; ++r)
            hidden += grid.rowHidden(r) ? 'h' : '-';
        EXPECT_EQ(hidden, c.hidden);
        EXPECT_TRUE(state.history.tableLaidOut);
        EXPECT_EQ(state.history.layoutDeviceType, c.recorded);
        EXPECT_EQ(column(grid, kColTransmitterId), empty);
        EXPECT_EQ(column(grid, kColTransChan), c.channels);
        EXPECT_EQ(column(grid, kColDataFormat), c.formats);
        EXPECT_EQ(column(grid, kColRangeStart), c.starts);
        EXPECT_EQ(column(grid, kColRangeEnd), c.ends);
        EXPECT_EQ(grid.colWidth(0), 900);
        EXPECT_EQ(grid.colWidth(5), 2200);
        EXPECT_EQ(grid.cell(0, 1) + grid.cell(0, 5), "TRANSMITTER IDRANGE END");
    }
}

TEST(LayoutGrid, ExtenderHasTwentyFourLabelsAndAWideLabelColumn) {
    const ProgramState state = laidOut("QX4815");
    const std::pair<int, const char*> labels[] = {{1, "ANALOG MAIN"},  {5, "DIGITAL MAIN"},
                                                  {9, "ANALOG EXT1"},  {16, "DIGITAL EXT1"},
                                                  {17, "ANALOG EXT2"}, {24, "DIGITAL EXT2"}};
    for (const auto& [row, label] : labels)
        EXPECT_EQ(state.grid.cell(row, 0), label) << "row " << row;
    EXPECT_EQ(state.grid.colWidth(0), 1400);
}

} // namespace
} // namespace kym
