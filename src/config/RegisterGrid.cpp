#include "RegisterGrid.h"

#include <algorithm>

namespace kym {
namespace {
const std::string kNoText;
}

RegisterGrid::RegisterGrid(int rows, int cols) {
    resize(rows, cols);
}

void RegisterGrid::resize(int rows, int cols) {
    rows = std::max(rows, 1);
    cols = std::max(cols, 1);
    std::vector<std::string> cells(static_cast<std::size_t>(rows * cols));
    for (int r = 0; r < std::min(rows, rows_); ++r)
        for (int c = 0; c < std::min(cols, cols_); ++c)
            cells[static_cast<std::size_t>(r * cols + c)] = std::move(at(r, c));
    cells_ = std::move(cells);
    rows_ = rows;
    cols_ = cols;
    colWidths_.resize(static_cast<std::size_t>(cols), kDefaultColWidth);
    rowHeights_.resize(static_cast<std::size_t>(rows), kDefaultRowHeight);
    row_ = std::min(row_, rows_ - 1);
    col_ = std::min(col_, cols_ - 1);
    notify(Change::Shape);
}

void RegisterGrid::setRows(int rows) {
    resize(rows, cols_);
}
void RegisterGrid::setCols(int cols) {
    resize(rows_, cols);
}

void RegisterGrid::setRow(int row) {
    if (row >= 0 && row < rows_)
        row_ = row;
}

void RegisterGrid::setCol(int col) {
    if (col >= 0 && col < cols_)
        col_ = col;
}

bool RegisterGrid::contains(int row, int col) const {
    return row >= 0 && row < rows_ && col >= 0 && col < cols_;
}

const std::string& RegisterGrid::cell(int row, int col) const {
    return contains(row, col) ? cells_[static_cast<std::size_t>(row * cols_ + col)] : kNoText;
}

void RegisterGrid::setText(std::string text) {
    at(row_, col_) = std::move(text);
    notify(Change::Cell, row_, col_);
}

void RegisterGrid::clear() {
    for (auto& text : cells_)
        text.clear();
    notify(Change::Shape);
}

int RegisterGrid::colWidth(int col) const {
    return contains(0, col) ? colWidths_[static_cast<std::size_t>(col)] : 0;
}

void RegisterGrid::setColWidth(int col, int twips) {
    if (contains(0, col)) {
        colWidths_[static_cast<std::size_t>(col)] = std::max(twips, 0);
        notify(Change::Widths);
    }
}

void RegisterGrid::setAllColWidths(int twips) {
    std::fill(colWidths_.begin(), colWidths_.end(), std::max(twips, 0));
    notify(Change::Widths);
}

int RegisterGrid::rowHeight(int row) const {
    return contains(row, 0) ? rowHeights_[static_cast<std::size_t>(row)] : 0;
}

void RegisterGrid::setRowHeight(int row, int twips) {
    if (contains(row, 0)) {
        rowHeights_[static_cast<std::size_t>(row)] = std::max(twips, 0);
        notify(Change::Heights);
    }
}

void RegisterGrid::resetRowHeights() {
    std::fill(rowHeights_.begin(), rowHeights_.end(), kDefaultRowHeight);
    notify(Change::Heights);
}

void RegisterGrid::notify(Change change, int row, int col) const {
    if (listener_)
        listener_(change, row, col);
}

} // namespace kym
