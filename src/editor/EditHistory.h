#pragma once

#include "config/ProgramState.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kym {

// What one undo step may change: the header settings, the gateway settings and the cell texts.
struct DocumentSnapshot {
    HeaderSettings header;
    GatewaySettings gateway;
    std::vector<std::string> cells; // row by row
    bool operator==(const DocumentSnapshot&) const = default;
};

// The undo and redo steps of the current document. A step keeps the document before and after
// it, and undoing or redoing one puts back only what that step changed, so a change made outside
// the steps is not lost with them. The history remembers where the document was last saved or
// opened: arriving there clears the change mark, leaving it sets the mark again.
class EditHistory {
public:
    explicit EditHistory(ProgramState& state) : state_(state) {}

    // A fresh document: no steps, and the document as it is now counts as saved unless marked.
    void start();
    // The document was written as it is now.
    void saved();

    DocumentSnapshot snapshot() const;
    // Records the edit since before as a step named name; an edit that changed nothing is none.
    void record(std::string name, DocumentSnapshot before);

    bool undo();
    bool redo();
    // Names of the steps undo and redo would take, empty when there is none.
    std::string undoName() const;
    std::string redoName() const;

private:
    struct Step {
        std::string name;
        DocumentSnapshot before;
        DocumentSnapshot after;
    };
    void restore(const DocumentSnapshot& from, const DocumentSnapshot& to);

    ProgramState& state_;
    std::vector<Step> steps_;
    std::size_t done_ = 0; // steps_[0, done_) are applied
    std::optional<std::size_t> savedAt_;
};

} // namespace kym
