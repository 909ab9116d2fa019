#pragma once

#include "config/ProgramState.h"

namespace kym {

// A document exists once New has laid out a table or a file has been opened; before that the
// grid holds only the start-up table, which nobody asked to keep.
bool documentExists(const ProgramState& state);

// Settings kept beside the document were stored: the document, if there is one, is changed.
void markSettingsChanged(ProgramState& state);

} // namespace kym
