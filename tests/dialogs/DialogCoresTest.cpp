#include "config/DeviceTypes.h"
#include "config/Options.h"
#include "dialogs/SetpointRange.h"

#include <gtest/gtest.h>
#include <sstream>

namespace kym {
namespace {

std::string shown(const ListChoice& choice) {
    return choice.text + "@" + std::to_string(choice.position);
}

std::string shown(const CodeSelection& code) {
    const auto bytes = codeByteEntries();
    return bytes.at(static_cast<std::size_t>(code.msb)) + "," +
           bytes.at(static_cast<std::size_t>(code.lsb));
}

// Lists as text@position, option pairs by the initial of the checked caption (Seconds/Minutes,
// Last/Off, Coordinate/Monitor).
std::string shown(const OptionValues& v) {
    return shown(v.timeout) + " " + shown(v.capture) + (v.captureInMinutes ? " M" : " S") +
           (v.lastState ? "L" : "O") + (v.monitor ? "M" : "C") + " " + shown(v.vendor) + " " +
           shown(v.property) + " " + shown(v.networkID);
}

std::string stored(const HeaderSettings& h) {
    std::ostringstream text;
    text << h.timeout << ' ' << h.captureValue << " (" << h.timeoutNumber << ' ' << h.captureNumber
         << (h.captureInMinutes ? ") minutes " : ") seconds ") << h.lossState << " ["
         << h.snifferState << "] V=" << h.vendorCode << " P=" << h.propertyCode
         << " ID=" << h.networkID;
    return text.str();
}

TEST(Options, OpeningShowsTheStoredSettings) {
    using H = HeaderSettings;
    const std::pair<void (*)(H&), std::string> rows[] = {
        {[](H&) {}, "30@29 0@0 SLC 01,71 00,02 1@-1"},
        {[](H& h) { h.vendorCode = h.propertyCode = ""; }, "30@29 0@0 SLC 00,01 00,01 1@-1"},
        {[](H& h) { h.propertyCode = "1A2B3"; }, "30@29 0@0 SLC 01,71 A2,B3 1@-1"},
        {[](H& h) { h.captureValue = "240"; }, "30@29 240@240 SLC 01,71 00,02 1@-1"},
        {[](H& h) { h.timeout = "61"; }, "61@-1 0@0 SLC 01,71 00,02 1@-1"},
        {[](H& h) { h.captureValue = "241"; }, "30@29 241@-1 SLC 01,71 00,02 1@-1"},
        {[](H& h) { h.timeout = "030"; }, "030@-1 0@0 SLC 01,71 00,02 1@-1"},
        {[](H& h) { h.captureInMinutes = true; }, "30@29 0@0 MLC 01,71 00,02 1@-1"},
        {[](H& h) { h.lossState = "last"; }, "30@29 0@0 SOC 01,71 00,02 1@-1"},
        {[](H& h) { h.snifferState = "SNIFFER"; }, "30@29 0@0 SLM 01,71 00,02 1@-1"},
    };
    for (const auto& [set, expected] : rows) {
        HeaderSettings header;
        set(header);
        EXPECT_EQ(shown(loadOptions(header)), expected);
    }
}

// The values: time-out, capture time, minutes, last, monitor, vendor, property and network ID.
TEST(Options, OkStoresTheControls) {
    const std::pair<OptionValues, std::string> rows[] = {
        {loadOptions({}), "30 0 (30 0) seconds LAST [] V=0171 P=0002 ID=1"},
        {{{29, "90"}, {0, "250"}, false, true, false, {2, 114}, {1, 3}, {0, "77"}},
         "90 250 (90 250) seconds LAST [] V=0171 P=0002 ID=77"},
        {{{-1, "255"}, {-1, "255.4"}, false, true, false, {2, 114}, {1, 3}, {-1, "1"}},
         "255 255.4 (255 255.4) seconds LAST [] V=0171 P=0002 ID=1"},
        {{{29, "30"}, {0, "0"}, true, false, true, {2, 114}, {1, 3}, {-1, "1"}},
         "30 0 (30 0) minutes OFF [SNIFFER] V=0171 P=0002 ID=1"},
        {{{29, "30"}, {0, "0"}, false, true, false, {0, 6}, {0, 0}, {-1, "1"}},
         "30 0 (30 0) seconds LAST [] V=05 P= ID=1"},
        {{{29, "30"}, {0, "0"}, false, true, false, {2, 114}, {1, 3}, {-1, "1\r\n2"}},
         "30 0 (30 0) seconds LAST [] V=0171 P=0002 ID=12"},
    };
    for (const auto& [values, expected] : rows) {
        HeaderSettings header;
        ASSERT_TRUE(storeOptions(values, header)) << expected;
        EXPECT_EQ(stored(header), expected);
    }
}

TEST(Options, OkRefusesWhatTheUnitCannotTakeAndStoresNothing) {
    const std::string capture = "The digital capture time must be a number from 0 to 255.";
    const std::string timeout =
        "The transmitter time-out must be a whole number of minutes from 1 to 255.";
    const std::tuple<const char*, const char*, std::string> rows[] = {
        {"256", "30", capture}, {"-1", "30", capture}, {"", "30", capture},
        {"12s", "30", capture}, {"300", "0", capture}, {"0", "0", timeout},
        {"0", "256", timeout},  {"0", "1.5", timeout}, {"0", "0030", timeout},
        {"0", "", timeout},     {"0", " 30", timeout},
    };
    for (const auto& [captureTime, timeOut, reason] : rows) {
        HeaderSettings header;
        OptionValues values = loadOptions(header);
        values.capture.text = captureTime;
        values.timeout.text = timeOut;
        values.monitor = true;
        const auto result = storeOptions(values, header);
        ASSERT_FALSE(result) << captureTime << " / " << timeOut;
        EXPECT_EQ(result.error().reason + stored(header), reason + stored(HeaderSettings{}));
    }
}

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
        EXPECT_EQ(d.TextLowInput + d.TextHighInput + d.TextLowSetpoint + d.TextHighSetpoint +
                      (d.OptionDirect ? " direct" : ""),
                  "0000 direct");
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
TEST(SetpointRange, StoredCellsSetThePositionsAndTheActing) {
    const struct {
        std::string format;
        Cells cells;
        std::array<int, 4> positions; // low input, high input, low setpoint, high setpoint
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
        EXPECT_EQ((std::array{d.SliderLowInput.position, d.SliderHighInput.position,
                              d.SliderLowSetpoint.position, d.SliderHighSetpoint.position}),
                  c.positions);
        EXPECT_EQ(std::string(d.OptionReverse ? "R" : "") + (d.OptionDirect ? "D" : ""), c.acting);
        if (c.cells[0].empty()) {
            d.CommandOK_Click();
            EXPECT_EQ(column(grid), "0 0 0 0 ");
        }
    }
}

} // namespace
} // namespace kym
