#include "editor/GridEditing.h"

#include "config/CodePage.h"
#include "config/DataFormats.h"
#include "config/DeviceTypes.h"
#include "editor/ViewState.h"

#include <algorithm>
#include <utility>

namespace kym {
namespace {
bool isEnabled(const EditBoxEnables& enabled, EditBox box) {
    switch (box) {
    case EditBox::TransId:
        return enabled.transId;
    case EditBox::Channel:
        return enabled.channel;
    case EditBox::DataAnalog:
        return enabled.dataAnalog;
    case EditBox::DataDigital:
        return enabled.dataDigital;
    case EditBox::Start:
        return enabled.start;
    case EditBox::End:
        return enabled.end;
    case EditBox::None:
        break;
    }
    return false;
}
} // namespace

GridEditing::GridEditing(ProgramState& state, EditHistory& history,
                         std::function<void()> markChanged)
    : state_(state), history_(history), markChanged_(std::move(markChanged)) {}

EditBox GridEditing::clicked() {
    const RegisterGrid& grid = state_.grid;
    editRow_ = grid.row();
    editCol_ = grid.col();
    const DeviceTraits& traits = traitsOf(state_.header.deviceType);

    if (editCol_ == kColDataFormat)
        return isDigitalRow(editRow_) ? EditBox::DataDigital : EditBox::DataAnalog;
    if (traits.twoOutput && std::ranges::find(kTwoOutputRows, editRow_) == kTwoOutputRows.end())
        return EditBox::None;

    const EditableColumns& editable = traits.editable;
    switch (editCol_) {
    case kColTransmitterId:
        return editable.transmitterId ? EditBox::TransId : EditBox::None;
    case kColTransChan:
        return editable.channel ? EditBox::Channel : EditBox::None;
    case kColRangeStart:
        return editable.range ? EditBox::Start : EditBox::None;
    case kColRangeEnd:
        return editable.range ? EditBox::End : EditBox::None;
    default:
        return EditBox::None;
    }
}

RangeList GridEditing::rangeList(RangeEnd end) const {
    return rangeEntries(state_.grid.cell(editRow_, kColDataFormat), editRow_, end);
}

void GridEditing::put(int row, int col, const std::string& text) {
    RegisterGrid& grid = state_.grid;
    if (row <= 0 || row >= grid.rows() || col <= 0 || col >= grid.cols())
        return;
    grid.setCol(col);
    grid.setRow(row);
    grid.setText(text);
}

void GridEditing::picked(EditBox box, const std::string& text) {
    DocumentSnapshot before = history_.snapshot();
    if (box == EditBox::TransId)
        pickedTransmitter(text);
    else
        put(editRow_, editCol_, text);
    recordEdit(std::move(before));
}

// Every box's list starts with the empty entry, so any cell a usable box edits can be cleared.
bool GridEditing::cleared() {
    const EditBox box = clicked();
    if (!isEnabled(viewStateOf(state_, history_).boxes, box))
        return false;
    if (box == EditBox::Start || box == EditBox::End)
        pickedRange(box == EditBox::Start ? RangeEnd::Start : RangeEnd::End, std::string());
    else
        picked(box, std::string());
    return true;
}

std::string GridEditing::stepName() const {
    return utf8FromCp1252(state_.grid.cell(0, editCol_)) + " in row " + std::to_string(editRow_);
}

// A transmitter on a digital output makes that output's format DIGITAL.
void GridEditing::pickedTransmitter(const std::string& text) {
    const DeviceTraits& traits = traitsOf(state_.header.deviceType);
    using enum TransmitterPick;
    if (traits.transmitterPick == ClickedRow ||
        traits.transmitterPick == ClickedRowThenEveryOutput) {
        put(editRow_, editCol_, text);
        if (isDigitalRow(editRow_))
            put(editRow_, kColDataFormat, std::string(kFormatDigital));
    }
    if (traits.transmitterPick == EveryOutput ||
        traits.transmitterPick == ClickedRowThenEveryOutput)
        for (int row : outputRows(traits))
            put(row, editCol_, text);
}

RangeVerdict GridEditing::pickedRange(RangeEnd end, const std::string& text) {
    const int otherCol = end == RangeEnd::Start ? kColRangeEnd : kColRangeStart;
    const RangeVerdict verdict = checkRangePick(end, text, state_.grid.cell(editRow_, otherCol));
    DocumentSnapshot before = history_.snapshot();
    if (verdict.accepted)
        put(editRow_, editCol_, text);
    recordEdit(std::move(before));
    return verdict;
}

void GridEditing::placed(EditBox box, const std::string& previousText) {
    const bool typed = box == EditBox::TransId || box == EditBox::Channel;
    if (typed && state_.grid.cell(editRow_, editCol_) != previousText)
        markEdited();
}

bool GridEditing::offersSetpointRange() const {
    const RegisterGrid& grid = state_.grid;
    return grid.col() == kColDataFormat && setpointRangeTargetFor(grid, grid.row()).has_value();
}

std::optional<SetpointRangeTarget> GridEditing::beginSetpointRange() {
    if (!offersSetpointRange())
        return std::nullopt;
    auto target = setpointRangeTargetFor(state_.grid, state_.grid.row());
    state_.grid.setCol(kColRangeStart);
    return target;
}

// The first edit or change after a file was opened is absorbed rather than marked.
bool GridEditing::absorbed() {
    return std::exchange(state_.ignoreNextChange, false);
}

void GridEditing::markEdited() {
    if (!absorbed())
        markChanged_();
}

// Every pick marks the document, also one that wrote the text the cell already held.
void GridEditing::recordEdit(DocumentSnapshot before) {
    if (absorbed()) {
        history_.record(stepName(), std::move(before), EditHistory::Mark::Absorbed);
        return;
    }
    history_.record(stepName(), std::move(before));
    markChanged_();
}

} // namespace kym
