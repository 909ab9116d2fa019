#pragma once

#include "config/TextLines.h"

#include <string>
#include <vector>

namespace kym {

struct Finding {
    enum class Severity { Error, Warning };
    Severity severity;
    int line; // 0 when the finding concerns the whole file
    std::string message;
};

// Everything worth knowing about a register configuration file before it goes to a unit, in line
// order: errors where Open stops reading or Send File refuses the file, warnings for keys that are
// missing or out of place, names the unit has no code for, values no list of the editor offers
// and rows that go out empty.
std::vector<Finding> CheckConfiguration(const LineList& lines);

} // namespace kym
