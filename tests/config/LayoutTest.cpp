#include "config/DeviceTypes.h"
#include "config/Layout.h"

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

std::vector<std::string> column(const RegisterGrid& grid, int col) {
    std::vector<std::string> texts;
    for (int r = 1; r < grid.rows(); ++r)
        texts.push_back(grid.cell(r, col));
    return texts;
}

TEST(LayoutGrid, LabelsHiddenRowsAndEnabledBoxesPerDeviceType) {
    using V = std::vector<std::string>;
    const V analogDigital{"ANALOG", "ANALOG", "ANALOG", "ANALOG",
                          "DIGITAL", "DIGITAL", "DIGITAL", "DIGITAL"};
    const V twoOutput{"", "", "", "", "DIGITAL", "DIGITAL", "", ""};
    struct Case {
        std::string type;
        V labels;
        std::vector<int> hidden;
        EditBoxEnables enables;
        int labelWidth;
    };
    const EditBoxEnables all{true, true, true, true, true, true};
    const Case cases[] = {
        {"KYM3815", analogDigital, {}, all, 900},
        {"QR4805", twoOutput, {1, 2, 3, 4, 7, 8}, {true, true, false, false, false, false}, 900},
        {"QD4815", analogDigital, {}, {true, false, false, false, false, false}, 900},
        {"QD4805", twoOutput, {1, 2, 3, 4, 7, 8}, {true, false, false, false, false, false}, 900},
        {"OTHER", analogDigital, {}, all, 900},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        const ProgramState state = laidOut(c.type);
        const RegisterGrid& grid = state.grid;
        EXPECT_EQ(column(grid, 0), c.labels);
        for (int r = 1; r < grid.rows(); ++r)
            EXPECT_EQ(grid.rowHidden(r),
                      std::find(c.hidden.begin(), c.hidden.end(), r) != c.hidden.end())
                << "row " << r;
        const auto& b = state.boxes;
        EXPECT_EQ((std::vector<bool>{b.transId, b.channel, b.dataAnalog, b.dataDigital, b.start, b.end}),
                  (std::vector<bool>{c.enables.transId, c.enables.channel, c.enables.dataAnalog,
                                     c.enables.dataDigital, c.enables.start, c.enables.end}));
        EXPECT_EQ(grid.colWidth(0), c.labelWidth);
        for (int col = 1; col <= 5; ++col)
            EXPECT_EQ(grid.colWidth(col), 2200);
        EXPECT_EQ(grid.cell(0, 1), "TRANSMITTER ID");
        EXPECT_EQ(grid.cell(0, 5), "RANGE END");
    }
}

TEST(LayoutGrid, ExtenderHasTwentyFourLabelsAndAWideLabelColumn) {
    const ProgramState state = laidOut("QX4815");
    const auto labels = column(state.grid, 0);
    ASSERT_EQ(labels.size(), 24u);
    EXPECT_EQ(labels[0], "ANALOG MAIN");
    EXPECT_EQ(labels[4], "DIGITAL MAIN");
    EXPECT_EQ(labels[8], "ANALOG EXT1");
    EXPECT_EQ(labels[15], "DIGITAL EXT1");
    EXPECT_EQ(labels[16], "ANALOG EXT2");
    EXPECT_EQ(labels[23], "DIGITAL EXT2");
    EXPECT_EQ(state.grid.colWidth(0), 1400);
}

TEST(LayoutGrid, ControlVariantsArePreFilled) {
    using V = std::vector<std::string>;
    const ProgramState four = laidOut("QD4815");
    EXPECT_EQ(column(four.grid, kColTransmitterId), V(8, ""));
    EXPECT_EQ(column(four.grid, kColTransChan), (V{"1", "2", "3", "4", "1", "2", "3", "4"}));
    EXPECT_EQ(column(four.grid, kColDataFormat),
              (V{"COUNT", "COUNT", "COUNT", "COUNT", "DIGITAL", "DIGITAL", "DIGITAL", "DIGITAL"}));
    EXPECT_EQ(column(four.grid, kColRangeStart), (V{"0", "0", "0", "0", "", "", "", ""}));
    EXPECT_EQ(column(four.grid, kColRangeEnd), (V{"4095", "4095", "4095", "4095", "", "", "", ""}));

    const ProgramState two = laidOut("QD4805");
    EXPECT_EQ(column(two.grid, kColTransChan), (V{"", "", "", "", "1", "2", "", ""}));
    EXPECT_EQ(column(two.grid, kColDataFormat), (V{"", "", "", "", "DIGITAL", "DIGITAL", "", ""}));
}

TEST(LayoutGrid, ALaterLayoutShowsRowsAnEarlierOneHid) {
    ProgramState state = laidOut("QR4805");
    state.header.deviceType = "KYM3815";
    LayoutGrid(state);
    for (int r = 1; r <= 8; ++r)
        EXPECT_FALSE(state.grid.rowHidden(r)) << r;
}

} // namespace
} // namespace kym
