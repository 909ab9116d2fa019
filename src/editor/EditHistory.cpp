#include "editor/EditHistory.h"

namespace kym {

void EditHistory::start() {
    steps_.clear();
    done_ = 0;
    saved();
}

void EditHistory::saved() {
    savedAt_ = done_;
    absorbedAt_.reset();
    markedWithoutEdit_ = false;
}

DocumentSnapshot EditHistory::snapshot() const {
    const RegisterGrid& grid = state_.grid;
    DocumentSnapshot now{state_.header, state_.gateway, {}};
    now.cells.reserve(static_cast<std::size_t>(grid.rows() * grid.cols()));
    for (int row = 0; row < grid.rows(); ++row)
        for (int col = 0; col < grid.cols(); ++col)
            now.cells.push_back(grid.cell(row, col));
    return now;
}

// An OK that marks without changing anything still needs a step, so that undoing it takes the
// mark away again; before a document exists there is no mark to carry.
void EditHistory::record(std::string name, DocumentSnapshot before, Mark mark) {
    const bool wasChanged = changed();
    DocumentSnapshot after = snapshot();
    if (after == before && !(mark == Mark::Always && documentExists(state_)))
        return;
    steps_.resize(done_);
    for (auto* point : {&savedAt_, &absorbedAt_})
        if (*point && **point > done_)
            point->reset();
    steps_.push_back({std::move(name), std::move(before), std::move(after)});
    done_ = steps_.size();
    if (mark != Mark::Absorbed)
        showMark();
    else if (!wasChanged)
        absorbedAt_ = done_;
}

void EditHistory::markWithoutEdit() {
    markedWithoutEdit_ = true;
    showMark();
}

bool EditHistory::changed() const {
    return documentExists(state_) && (markedWithoutEdit_ || !unchangedAt(done_));
}

bool EditHistory::unchangedAt(std::size_t done) const {
    return savedAt_ == done || absorbedAt_ == done;
}

// The next mark after Save As names the document by its title again.
void EditHistory::showMark() {
    if (documentExists(state_))
        state_.document.titleForm = TitleForm::FileTitle;
}

bool EditHistory::undo() {
    if (done_ == 0)
        return false;
    --done_;
    restore(steps_[done_].after, steps_[done_].before);
    return true;
}

bool EditHistory::redo() {
    if (done_ == steps_.size())
        return false;
    ++done_;
    restore(steps_[done_ - 1].before, steps_[done_ - 1].after);
    return true;
}

std::string EditHistory::undoName() const {
    return done_ == 0 ? std::string() : steps_[done_ - 1].name;
}

std::string EditHistory::redoName() const {
    return done_ == steps_.size() ? std::string() : steps_[done_].name;
}

// Writes back what differs between from and to; the grid's current cell stays where it was.
void EditHistory::restore(const DocumentSnapshot& from, const DocumentSnapshot& to) {
    if (from.header != to.header)
        state_.header = to.header;
    if (from.gateway != to.gateway)
        state_.gateway = to.gateway;
    RegisterGrid& grid = state_.grid;
    const int currentRow = grid.row();
    const int currentCol = grid.col();
    if (from.cells.size() == to.cells.size() &&
        to.cells.size() == static_cast<std::size_t>(grid.rows() * grid.cols())) {
        for (std::size_t i = 0; i < to.cells.size(); ++i) {
            if (from.cells[i] == to.cells[i])
                continue;
            grid.setRow(static_cast<int>(i) / grid.cols());
            grid.setCol(static_cast<int>(i) % grid.cols());
            grid.setText(to.cells[i]);
        }
    }
    grid.setRow(currentRow);
    grid.setCol(currentCol);
    markedWithoutEdit_ = false;
    showMark();
}

} // namespace kym
