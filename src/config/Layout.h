#pragma once

#include "ProgramState.h"

namespace kym {

inline constexpr int kDataColumnWidth = 2200;
inline constexpr int kLabelColumnWidth = 900;
inline constexpr int kWideLabelColumnWidth = 1400;

// Shapes the grid for state.header.deviceType: headers, labels, hidden rows and the pre-filled
// cells of the control variants, and records the layout in state.history (the editable boxes
// follow the last of the five device types laid out). Never changes the row or column count.
void LayoutGrid(ProgramState& state);

} // namespace kym
