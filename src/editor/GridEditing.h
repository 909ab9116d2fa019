#pragma once

#include "config/ProgramState.h"
#include "config/ValueLists.h"
#include "dialogs/SetpointRange.h"
#include "editor/EditHistory.h"

#include <functional>
#include <string>

namespace kym {

enum class EditBox { None, TransId, Channel, DataAnalog, DataDigital, Start, End };

// The rules of editing the register grid through the drop-down boxes, without widgets: which box
// a click lays over a cell, what a pick writes (into the clicked cell and the cells the device type
// ties to it), the range-order check, and when an edit marks the document changed. Every write
// is one step of the history.
class GridEditing {
public:
    GridEditing(ProgramState& state, EditHistory& history, std::function<void()> markChanged);

    // The grid's current cell was clicked: remembers it as the cell being edited and says which
    // box goes over it (None for a cell no box edits).
    EditBox clicked();

    // The list a range box offers for the clicked row, from that row's DATA FORMAT.
    RangeList rangeList(RangeEnd end) const;

    // A pick from the channel, data format or transmitter box: writes it back and marks the edit.
    void picked(EditBox box, const std::string& text);
    // A pick from a range box: written only when start <= end still holds; marked either way.
    RangeVerdict pickedRange(RangeEnd end, const std::string& text);
    // Delete on the grid's current cell: picks the empty entry of the box a click would lay over
    // it. False for a cell without a box or with a disabled one, which nothing may change.
    bool cleared();
    // The text of the transmitter or channel box was typed into.
    void textChanged() { markEdited(); }
    // A box was laid over the clicked cell, replacing previousText with the cell's text. The
    // transmitter and channel boxes take that as a change of their text, as if it were typed.
    void placed(EditBox box, const std::string& previousText);

    // The current cell is the DATA FORMAT cell of a controller row, which offers its band's
    // setpoint range.
    bool offersSetpointRange() const;
    // The target of the setpoint range dialog for that row, with RANGE START made the current
    // column the dialog works in; empty when the current cell offers none.
    std::optional<SetpointRangeTarget> beginSetpointRange();

private:
    bool absorbed();
    void markEdited();
    void recordEdit(DocumentSnapshot before);
    void put(int row, int col, const std::string& text);
    void pickedTransmitter(const std::string& text);
    std::string stepName() const;

    ProgramState& state_;
    EditHistory& history_;
    std::function<void()> markChanged_;
    int editRow_ = 0;
    int editCol_ = 0;
};

} // namespace kym
