#pragma once

#include "config/ProgramState.h"
#include "editor/EditHistory.h"

#include <string>

namespace kym {

// Which of the six editing boxes the user may open, as the device type allows.
struct EditBoxEnables {
    bool transId = true;
    bool channel = true;
    bool dataAnalog = true;
    bool dataDigital = true;
    bool start = true;
    bool end = true;
    bool operator==(const EditBoxEnables&) const = default;
};

// What the main window shows besides the grid, its texts in UTF-8. It is derived from the program
// state and the history's change mark after every flow, so that the document layer never writes
// window state.
struct ViewState {
    std::string title;
    std::string compatibilityCaption; // the device-type menu's caption
    std::string checkedDeviceType;    // identifier of the checked device-type entry, empty for none
    bool controlVariantsVisible = true;
    bool settingsEnabled = false;
    EditBoxEnables boxes;
};

ViewState viewStateOf(const ProgramState& state, const EditHistory& edits);

} // namespace kym
