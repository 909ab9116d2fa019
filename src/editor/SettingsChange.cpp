#include "editor/SettingsChange.h"

namespace kym {

bool documentExists(const ProgramState& state) {
    return state.gridVisible || state.document.hasFileName;
}

void markSettingsChanged(ProgramState& state) {
    if (documentExists(state))
        state.document.documentChanged = true;
}

} // namespace kym
