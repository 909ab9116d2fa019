#include "editor/EditHistory.h"

namespace kym {

void EditHistory::start() {
    steps_.clear();
    done_ = 0;
    savedAt_.reset();
    if (!state_.document.documentChanged)
        savedAt_ = 0;
}

void EditHistory::saved() {
    savedAt_ = done_;
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

void EditHistory::record(std::string name, DocumentSnapshot before) {
    DocumentSnapshot after = snapshot();
    if (after == before)
        return;
    steps_.resize(done_);
    if (savedAt_ && *savedAt_ > done_)
        savedAt_.reset();
    steps_.push_back({std::move(name), std::move(before), std::move(after)});
    done_ = steps_.size();
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
    if (!documentExists(state_))
        return;
    state_.document.documentChanged = savedAt_ != done_;
    state_.document.titleForm = TitleForm::FileTitle;
}

} // namespace kym
