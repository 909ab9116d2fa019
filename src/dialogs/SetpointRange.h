#pragma once

#include "config/RegisterGrid.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kym {

// Where the setpoint range dialog reads and writes its four numbers: the rows of one of two row
// sets, in the grid's current column.
struct SetpointRangeTarget {
    using RowSet =
        std::array<std::int16_t, 4>; // low input, low setpoint, high input, high setpoint
    std::string dataFormat;
    bool useFirstRowSet = true;
    RowSet firstRowSet{};
    RowSet secondRowSet{};
};

// The controller formats whose rows carry an input range and a setpoint range.
bool isSetpointFormat(std::string_view dataFormat);

// The target for a row whose DATA FORMAT is a controller format: the four rows of its band
// (low input, low setpoint, high input, high setpoint) in both row sets. Empty for other rows.
std::optional<SetpointRangeTarget> setpointRangeTargetFor(const RegisterGrid& grid, int row);

// A slider's properties as the dialog drives them. The position always stays within the range.
struct SliderState {
    int min = 0;
    int max = 10;
    int position = 0;
    int smallChange = 1;
    int largeChange = 5;
    int tickFrequency = 1;
    bool selectRange = false;
    int selStart = 0;
    int selLength = 0;

    void setMin(int value);
    void setMax(int value);
    void setPosition(int value);
    // Tick frequency and large change a tenth of the maximum, small change a hundredth.
    void stepsFromMax();
};

// The setpoint range dialog without widgets: four sliders for the input range and the setpoint
// range, their mirrored texts, the end captions, and direct or reverse acting. A window shows this
// state and calls the handlers on user actions; moving a slider from code never runs a scroll
// handler, setting an option from code always runs its click handler.
class SetpointRange {
public:
    SetpointRange(RegisterGrid& grid, SetpointRangeTarget target);

    void Form_Load();
    void SliderLowInput_Scroll();
    void SliderHighInput_Scroll();
    void SliderLowSetpoint_Scroll();
    void SliderHighSetpoint_Scroll();
    void OptionDirect_Click();
    void OptionReverse_Click();
    void CommandOK_Click();

    SliderState SliderLowInput, SliderHighInput, SliderLowSetpoint, SliderHighSetpoint;
    std::string TextLowInput = "Text1";
    std::string TextHighInput = "Text2";
    std::string TextLowSetpoint = "Text3";
    std::string TextHighSetpoint = "Text4";
    std::string LabelLowLowInput = "Label1", LabelHighLowInput = "Label2";
    std::string LabelLowHighInput = "Label3", LabelHighHighInput = "Label4";
    std::string LabelLowLowSetpoint = "Label5", LabelHighLowSetpoint = "Label6";
    std::string LabelLowHighSetpoint = "Label7", LabelHighHighSetpoint = "Label8";
    bool OptionDirect = false;
    bool OptionReverse = false;
    bool optionReverseVisible = true;
    std::string caption = "RESET Control Settings";

private:
    const SetpointRangeTarget::RowSet& rows() const;
    std::string readCell(int row);
    void configurePair(SliderState& low, SliderState& high, int lowMax, int highMax);
    void configureInputs(int lowMax, int highMax);
    void configureSetpoints();
    void setOptionDirect();
    void setOptionReverse();
    int reverseHighSetpoint() const;

    RegisterGrid& grid_;
    SetpointRangeTarget target_;
};

} // namespace kym
