#pragma once

#include "ProgramState.h"

namespace kym {

inline constexpr int kDataColumnWidth = 2200;
inline constexpr int kLabelColumnWidth = 900;
inline constexpr int kWideLabelColumnWidth = 1400;

// Shapes the grid for state.header.deviceType: headers, labels, hidden rows, editable boxes
// and the pre-filled cells of the control variants. Never changes the row or column count.
void LayoutGrid(ProgramState& state);

} // namespace kym
