#include "dialogs/SetpointRange.h"

#include "config/DeviceTypes.h"

#include <gtest/gtest.h>

namespace kym {
namespace {

// A grid whose rows 1 to 4 hold low input, low setpoint, high input and high setpoint in RANGE
// START, the column the dialog works in.
RegisterGrid gridWith(std::array<std::string, 4> values) {
    RegisterGrid grid(9, 6);
    for (int row = 1; row <= 4; ++row) {
        grid.setRow(row);
        grid.setCol(kColRangeStart);
        grid.setText(values[static_cast<std::size_t>(row - 1)]);
    }
    return grid;
}

SetpointRange opened(RegisterGrid& grid, const std::string& format) {
    SetpointRange dialog(grid, {format, true, {1, 2, 3, 4}, {5, 6, 7, 8}});
    dialog.Form_Load();
    return dialog;
}

// Each slider as "max/large/small", the four sliders joined by blanks.
std::string sliders(const SetpointRange& d) {
    std::string text;
    for (const SliderState* s :
         {&d.SliderLowInput, &d.SliderHighInput, &d.SliderLowSetpoint, &d.SliderHighSetpoint}) {
        EXPECT_EQ(s->tickFrequency, s->largeChange);
        EXPECT_TRUE(s->selectRange && s->selLength == s->max);
        text += std::to_string(s->max) + "/" + std::to_string(s->largeChange) + "/" +
                std::to_string(s->smallChange) + " ";
    }
    return text;
}

TEST(SetpointRange, SliderRangesAndStepsPerDataFormat) {
    const std::string setpoints = "179/18/2 180/18/2 ";
    const std::array<std::string, 4> cases[] = {
        {"QW7635B", "4094/409/41 4095/410/41 " + setpoints, "QW7635B Setpoint Range Settings - ",
         "hidden"},
        {"RESET_ANALOG", "4094/409/41 4095/410/41 " + setpoints, "Analog Input Reset", "shown"},
        {"RESET_TEMP", "179/18/2 180/18/2 " + setpoints, "Temperature Input Reset", "shown"},
    };
    for (const auto& [format, ranges, caption, reverse] : cases) {
        SCOPED_TRACE(format);
        RegisterGrid grid = gridWith({"", "", "", ""});
        const SetpointRange d = opened(grid, format);
        EXPECT_EQ(sliders(d), ranges);
        EXPECT_EQ(d.caption, caption);
        EXPECT_EQ(d.optionReverseVisible ? "shown" : "hidden", reverse);
        EXPECT_TRUE(d.OptionDirect);
        EXPECT_EQ(d.TextLowInput + d.TextHighInput + d.TextLowSetpoint + d.TextHighSetpoint,
                  "0000");
    }
}

TEST(SetpointRange, AStoredReversePairOpensReverseActingAndWritesBackUnchanged) {
    RegisterGrid grid = gridWith({"100", "120", "3000", "40"});
    SetpointRange d = opened(grid, "RESET_ANALOG");
    EXPECT_TRUE(d.OptionReverse);
    EXPECT_FALSE(d.OptionDirect);
    EXPECT_EQ(d.SliderLowSetpoint.position, 59);
    EXPECT_EQ(d.SliderHighSetpoint.position, 139);
    EXPECT_EQ(d.TextLowSetpoint, "120");
    EXPECT_EQ(d.TextHighSetpoint, "40");
    EXPECT_EQ(d.LabelLowLowSetpoint, "180");
    d.TextHighInput = "30\r\n00"; // a pasted line break must not split the cell's line
    d.CommandOK_Click();
    std::string cells;
    for (int row = 1; row <= 4; ++row)
        cells += grid.cell(row, kColRangeStart) + " ";
    EXPECT_EQ(cells, "100 120 3000 40 ");

    RegisterGrid hidden = gridWith({"1", "120", "2", "40"});
    EXPECT_TRUE(opened(hidden, "QW7635B").OptionReverse); // even with the option hidden
    RegisterGrid equal = gridWith({"5", "60", "50", "60"});
    const SetpointRange direct = opened(equal, "RESET_TEMP");
    EXPECT_TRUE(direct.OptionDirect);
    EXPECT_EQ(direct.TextLowSetpoint + " " + direct.TextHighSetpoint, "60 60");
}

TEST(SetpointRange, TheLowInputRaisesTheHighSlidersMinimum) {
    RegisterGrid grid = gridWith({"", "", "", ""});
    SetpointRange d = opened(grid, "RESET_TEMP");
    d.SliderLowInput.setPosition(179);
    d.SliderLowInput_Scroll();
    EXPECT_EQ(d.SliderHighInput.min, 179);
    EXPECT_EQ(d.SliderHighInput.selStart, 179);
    EXPECT_EQ(d.SliderHighInput.position, 179);
    EXPECT_EQ(d.SliderHighInput.selLength, 1);
    EXPECT_EQ(d.LabelLowHighInput, "179");
    EXPECT_EQ(d.TextHighInput, "179");

    d.OptionReverse = true;
    d.OptionDirect = false;
    d.OptionReverse_Click();
    d.SliderHighSetpoint.setPosition(180);
    d.SliderHighSetpoint_Scroll();
    EXPECT_EQ(d.TextHighSetpoint, "0");
}

TEST(SetpointRange, CellsThatAreNoNumberInRangeLoadAsTheNearestPosition) {
    struct Case {
        std::string format;
        std::array<std::string, 4> cells; // low input, low setpoint, high input, high setpoint
        std::array<int, 4> positions;     // low input, high input, low setpoint, high setpoint
    };
    const Case cases[] = {
        {"RESET_TEMP", {"12.5", "abc", "99999", ""}, {12, 180, 0, 0}},
        {"RESET_ANALOG", {"-5", "3.5", "4095", "7"}, {0, 4095, 4, 7}},
        {"COUNT", {"7", "3", "20", "4"}, {7, 10, 3, 4}}, // unconfigured: 0 to 10
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        RegisterGrid grid = gridWith(c.cells);
        const SetpointRange d = opened(grid, c.format);
        EXPECT_EQ((std::array{d.SliderLowInput.position, d.SliderHighInput.position,
                              d.SliderLowSetpoint.position, d.SliderHighSetpoint.position}),
                  c.positions);
    }
    RegisterGrid grid = gridWith(cases[2].cells);
    const SetpointRange plain = opened(grid, "COUNT");
    EXPECT_EQ(plain.caption, "RESET Control Settings");
    EXPECT_EQ(plain.SliderLowInput.largeChange, 5);
    EXPECT_EQ(plain.SliderLowInput.smallChange, 1);
}

TEST(SetpointRange, AnEmptyLowInputLoadsNothingAndOkWritesZeros) {
    RegisterGrid grid = gridWith({"", "50", "60", "70"});
    SetpointRange d = opened(grid, "RESET_ANALOG");
    d.CommandOK_Click();
    for (int row = 1; row <= 4; ++row)
        EXPECT_EQ(grid.cell(row, kColRangeStart), "0") << row;
}

} // namespace
} // namespace kym
