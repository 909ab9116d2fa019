#include "dialogs/SetpointRange.h"

#include "config/DataFormats.h"
#include "config/DeviceTypes.h"
#include "config/Numbers.h"
#include "config/TextLines.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kym {
namespace {

constexpr int kAnalogLowMax = 4094;
constexpr int kAnalogHighMax = 4095;
constexpr int kDegreesLowMax = 179;
constexpr int kDegreesHighMax = 180;

int roundedFraction(int max, double fraction) {
    return static_cast<int>(roundHalfEven(max * fraction));
}

// A cell's number as a slider position: rounded half to even; text that is no number counts 0.
int cellNumber(const std::string& text) {
    const std::int64_t rounded = strictWholeNumber(text).value_or(0);
    return static_cast<int>(std::clamp<std::int64_t>(rounded, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

std::string text(int value) {
    return std::to_string(value);
}

} // namespace

bool isSetpointFormat(std::string_view dataFormat) {
    const DataFormat* format = findDataFormat(dataFormat);
    return format && format->setpoint.input != SetpointInput::None;
}

std::optional<SetpointRangeTarget> setpointRangeTargetFor(const RegisterGrid& grid, int row) {
    const std::string& format = grid.cell(row, kColDataFormat);
    if (row <= 0 || !isSetpointFormat(format))
        return std::nullopt;
    const auto first = static_cast<std::int16_t>((row - 1) / 4 * 4 + 1);
    const SetpointRangeTarget::RowSet band{first, static_cast<std::int16_t>(first + 1),
                                           static_cast<std::int16_t>(first + 2),
                                           static_cast<std::int16_t>(first + 3)};
    return SetpointRangeTarget{format, true, band, band};
}

void SliderState::setMin(int value) {
    min = value;
    max = std::max(max, min);
    setPosition(position);
}

void SliderState::setMax(int value) {
    max = value;
    min = std::min(min, max);
    setPosition(position);
}

void SliderState::setPosition(int value) {
    position = std::clamp(value, min, max);
}

void SliderState::stepsFromMax() {
    tickFrequency = roundedFraction(max, 0.1);
    largeChange = roundedFraction(max, 0.1);
    smallChange = roundedFraction(max, 0.01);
}

SetpointRange::SetpointRange(RegisterGrid& grid, SetpointRangeTarget target)
    : grid_(grid), target_(std::move(target)) {}

const SetpointRangeTarget::RowSet& SetpointRange::rows() const {
    return target_.useFirstRowSet ? target_.firstRowSet : target_.secondRowSet;
}

std::string SetpointRange::readCell(int row) {
    grid_.setRow(row);
    return grid_.cell(row, grid_.col());
}

void SetpointRange::Form_Load() {
    for (SliderState* slider :
         {&SliderLowInput, &SliderHighInput, &SliderLowSetpoint, &SliderHighSetpoint})
        slider->selectRange = true;

    const DataFormat* format = findDataFormat(target_.dataFormat);
    if (format && format->setpoint.input != SetpointInput::None) {
        const SetpointBand& band = format->setpoint;
        if (band.input == SetpointInput::Degrees)
            configureInputs(kDegreesLowMax, kDegreesHighMax);
        else
            configureInputs(kAnalogLowMax, kAnalogHighMax);
        configureSetpoints();
        caption = band.caption;
        setOptionDirect();
        if (!band.reverseActing)
            optionReverseVisible = false;
    }

    const auto& [lowInputRow, lowSetpointRow, highInputRow, highSetpointRow] = rows();
    const std::string lowInput = readCell(lowInputRow);
    if (lowInput.empty())
        return;
    SliderLowInput.setPosition(cellNumber(lowInput));
    SliderHighInput.setPosition(cellNumber(readCell(highInputRow)));
    SliderLowSetpoint.setPosition(cellNumber(readCell(lowSetpointRow)));
    SliderHighSetpoint.setPosition(cellNumber(readCell(highSetpointRow)));
    SliderLowInput_Scroll();
    SliderHighInput_Scroll();

    // A stored high setpoint below the low one is a reverse acting pair: the sliders hold the
    // mirrored positions.
    if (SliderHighSetpoint.position < SliderLowSetpoint.position) {
        SliderHighSetpoint.setPosition(SliderHighSetpoint.max - SliderHighSetpoint.position - 1);
        SliderLowSetpoint.setPosition(SliderLowSetpoint.max - SliderLowSetpoint.position);
        setOptionReverse();
    } else {
        SliderLowSetpoint_Scroll();
        SliderHighSetpoint_Scroll();
    }
}

void SetpointRange::configurePair(SliderState& low, SliderState& high, int lowMax, int highMax) {
    for (auto [slider, max] : {std::pair{&low, lowMax}, std::pair{&high, highMax}}) {
        slider->setMin(0);
        slider->setMax(max);
        slider->selLength = max;
        slider->selStart = 0;
        slider->stepsFromMax();
    }
}

void SetpointRange::configureInputs(int lowMax, int highMax) {
    configurePair(SliderLowInput, SliderHighInput, lowMax, highMax);
    LabelLowLowInput = "0";
    LabelHighLowInput = text(lowMax);
    LabelLowHighInput = "0";
    LabelHighHighInput = text(highMax);
    TextHighInput = text(SliderHighInput.position);
    TextLowInput = text(SliderLowInput.position);
}

void SetpointRange::configureSetpoints() {
    configurePair(SliderLowSetpoint, SliderHighSetpoint, kDegreesLowMax, kDegreesHighMax);
    TextHighSetpoint = text(SliderHighSetpoint.position);
    TextLowSetpoint = text(SliderLowSetpoint.position);
}

void SetpointRange::SliderLowInput_Scroll() {
    const int p = SliderLowInput.position;
    if (p < SliderHighInput.max) {
        SliderHighInput.setMin(p);
        SliderHighInput.selStart = p;
    }
    TextLowInput = text(p);
    TextHighInput = text(SliderHighInput.position);
    SliderHighInput.selLength = SliderHighInput.max - p;
    LabelLowHighInput = text(p);
    SliderHighInput.stepsFromMax();
}

void SetpointRange::SliderHighInput_Scroll() {
    TextHighInput = text(SliderHighInput.position);
}

void SetpointRange::SliderLowSetpoint_Scroll() {
    const int p = SliderLowSetpoint.position;
    if (p < SliderHighSetpoint.max) {
        SliderHighSetpoint.setMin(p);
        SliderHighSetpoint.selStart = p;
    }
    if (OptionDirect) {
        TextLowSetpoint = text(p);
        TextHighSetpoint = text(SliderHighSetpoint.position);
        LabelLowHighSetpoint = text(p);
    } else if (OptionReverse) {
        TextLowSetpoint = text(SliderLowSetpoint.max - p);
        TextHighSetpoint = text(reverseHighSetpoint());
        LabelLowHighSetpoint = text(SliderLowSetpoint.max - p);
    }
    SliderHighSetpoint.selLength = SliderHighSetpoint.max - p;
    SliderHighSetpoint.stepsFromMax();
}

// Reverse acting shows the high setpoint mirrored, never below 0.
int SetpointRange::reverseHighSetpoint() const {
    return std::max(SliderHighSetpoint.max - SliderHighSetpoint.position - 1, 0);
}

void SetpointRange::SliderHighSetpoint_Scroll() {
    if (OptionDirect)
        TextHighSetpoint = text(SliderHighSetpoint.position);
    else if (OptionReverse)
        TextHighSetpoint = text(reverseHighSetpoint());
}

void SetpointRange::setOptionDirect() {
    OptionDirect = true;
    OptionReverse = false;
    OptionDirect_Click();
}

void SetpointRange::setOptionReverse() {
    OptionReverse = true;
    OptionDirect = false;
    OptionReverse_Click();
}

void SetpointRange::OptionDirect_Click() {
    LabelLowLowSetpoint = "0";
    LabelHighLowSetpoint = text(SliderLowSetpoint.max);
    LabelLowHighSetpoint = "0";
    LabelHighHighSetpoint = "180";
    SliderLowSetpoint_Scroll();
    SliderHighSetpoint_Scroll();
}

void SetpointRange::OptionReverse_Click() {
    LabelLowLowSetpoint = "180";
    LabelHighLowSetpoint = "0";
    LabelLowHighSetpoint = "180";
    LabelHighHighSetpoint = "0";
    SliderLowSetpoint_Scroll();
    SliderHighSetpoint_Scroll();
}

void SetpointRange::CommandOK_Click() {
    const auto& [lowInputRow, lowSetpointRow, highInputRow, highSetpointRow] = rows();
    for (auto [row, value] :
         {std::pair{lowInputRow, &TextLowInput}, std::pair{lowSetpointRow, &TextLowSetpoint},
          std::pair{highInputRow, &TextHighInput}, std::pair{highSetpointRow, &TextHighSetpoint}}) {
        if (row <= 0 || row >= grid_.rows())
            continue;
        grid_.setRow(row);
        grid_.setText(withoutLineBreaks(*value));
    }
}

} // namespace kym
