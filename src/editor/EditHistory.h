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

// The undo and redo steps of the current document, and the one owner of its change mark. A step
// keeps the document before and after it, and undoing or redoing one puts back only what that
// step changed, so a change made outside the steps is not lost with them. The document is changed
// when the history stands away from where the document was last saved or opened, or when an edit
// marked it without changing anything; there is no mark before a document exists.
class EditHistory {
public:
    // How an edit marks the document.
    enum class Mark {
        IfChanged, // a change is a step, which marks; no change is nothing
        Always,    // marks even when nothing changed: then as a step of its own
        Absorbed,  // the first edit after Open: a change is a step, but the mark stays as it was
    };

    explicit EditHistory(ProgramState& state) : state_(state) {}

    // A fresh document: no steps, and the document as it is now unchanged.
    void start();
    // The document was written as it is now.
    void saved();
    // The user gave up the changes; the document is about to be replaced.
    void changesDropped() { saved(); }

    DocumentSnapshot snapshot() const;
    // Records the edit since before as a step named name.
    void record(std::string name, DocumentSnapshot before, Mark mark = Mark::IfChanged);
    // An edit that wrote nothing still marks the document: a pick of the text the cell holds, or
    // a change of an editing box's text.
    void markWithoutEdit();

    bool changed() const;

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
    bool unchangedAt(std::size_t done) const;
    void showMark();

    ProgramState& state_;
    std::vector<Step> steps_;
    std::size_t done_ = 0; // steps_[0, done_) are applied
    std::optional<std::size_t> savedAt_;
    std::optional<std::size_t> absorbedAt_; // after the absorbed first edit since Open
    bool markedWithoutEdit_ = false;
};

} // namespace kym
