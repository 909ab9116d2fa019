#include "dialogs/SetpointRange.h"

#include "config/DeviceTypes.h"

#include <gtest/gtest.h>

namespace kym {
namespace {

using Cells = std::array<std::string, 4>; // low input, low setpoint, high input, high setpoint

RegisterGrid gridWith(const Cells& values) {
    RegisterGrid grid(9, 6);
    grid.setCol(kColRangeStart);
    for (int row = 1; row <= 4; ++row) {
        grid.setRow(row);
        grid.setText(values[static_cast<std::size_t>(row - 1)]);
    }
    return grid;
}

std::string column(const RegisterGrid& grid) {
    std::string cells;
    for (int row = 1; row <= 4; ++row)
        cells += grid.cell(row, kColRangeStart) + " ";
    return cells;
}

SetpointRange opened(RegisterGrid& grid, const std::string& format) {
    SetpointRange dialog(grid, {format, true, {1, 2, 3, 4}, {5, 6, 7, 8}});
    dialog.Form_Load();
    return dialog;
}

// Low input, high input, low setpoint, high setpoint.
std::array<int, 4> positions(const SetpointRange& d) {
    return {d.SliderLowInput.position, d.SliderHighInput.position, d.SliderLowSetpoint.position,
            d.SliderHighSetpoint.position};
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

// A reverse acting pair shows its stored texts and OK writes them back unchanged, a pasted line
// break dropped; the high setpoint's text never goes below 0.
TEST(SetpointRange, AReversePairWritesBackUnchanged) {
    RegisterGrid grid = gridWith({"100", "120", "3000", "40"});
    SetpointRange d = opened(grid, "RESET_ANALOG");
    EXPECT_EQ(d.TextLowSetpoint + " " + d.TextHighSetpoint + " " + d.LabelLowLowSetpoint,
              "120 40 180");
    d.TextHighInput = "30\r\n00";
    d.CommandOK_Click();
    EXPECT_EQ(column(grid), "100 120 3000 40 ");
    d.SliderHighSetpoint.setPosition(180);
    d.SliderHighSetpoint_Scroll();
    EXPECT_EQ(d.TextHighSetpoint, "0");
}

TEST(SetpointRange, TheLowInputRaisesTheHighSlidersMinimum) {
    RegisterGrid grid = gridWith({"", "", "", ""});
    SetpointRange d = opened(grid, "RESET_TEMP");
    d.SliderLowInput.setPosition(179);
    d.SliderLowInput_Scroll();
    const SliderState& high = d.SliderHighInput;
    EXPECT_EQ((std::array{high.min, high.selStart, high.position, high.selLength}),
              (std::array{179, 179, 179, 1}));
    EXPECT_EQ(d.LabelLowHighInput + " " + d.TextHighInput, "179 179");
}

// A high setpoint below the low one opens reverse acting ("R", not "D"), even with the option
// hidden; the sliders then hold the mirrored positions. An empty low input loads nothing; OK writes
// zeros.
TEST(SetpointRange, CellsLoadAsTheNearestPosition) {
    const struct {
        std::string format;
        Cells cells;
        std::array<int, 4> positions;
        const char* acting;
    } cases[] = {
        {"RESET_TEMP", {"12.5", "abc", "99999", ""}, {12, 180, 0, 0}, "D"},
        {"RESET_ANALOG", {"-5", "3.5", "4095", "7"}, {0, 4095, 4, 7}, "D"},
        {"COUNT", {"7", "3", "20", "4"}, {7, 10, 3, 4}, ""}, // unconfigured: 0 to 10, no option
        {"RESET_ANALOG", {"", "50", "60", "70"}, {0, 0, 0, 0}, "D"},
        {"RESET_ANALOG", {"100", "120", "3000", "40"}, {100, 3000, 59, 139}, "R"},
        {"QW7635B", {"1", "120", "2", "40"}, {1, 2, 59, 139}, "R"},
        {"RESET_TEMP", {"5", "60", "50", "60"}, {5, 50, 60, 60}, "D"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format + " " + c.cells[0]);
        RegisterGrid grid = gridWith(c.cells);
        SetpointRange d = opened(grid, c.format);
        EXPECT_EQ(positions(d), c.positions);
        EXPECT_EQ(std::string(d.OptionReverse ? "R" : "") + (d.OptionDirect ? "D" : ""), c.acting);
        if (c.cells[0].empty()) {
            d.CommandOK_Click();
            EXPECT_EQ(column(grid), "0 0 0 0 ");
        }
    }
}

} // namespace
} // namespace kym
