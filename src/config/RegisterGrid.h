#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kym {

// The register table: a grid of text cells with a fixed header row 0 and a fixed label
// column 0. Callers address a cell by making it current and then reading or writing the
// current cell's text; cell(row, col) is a read-only shortcut for views, writers and tests.
// Sizes are in twips; a row height of 0 hides the row.
class RegisterGrid {
public:
    static constexpr int kDefaultRowHeight = 360;
    static constexpr int kDefaultColWidth = 960;

    enum class Change { Cell, Shape, Widths, Heights };
    using Listener = std::function<void(Change, int row, int col)>;

    RegisterGrid(int rows, int cols);

    int rows() const { return rows_; }
    int cols() const { return cols_; }
    void setRows(int rows);
    void setCols(int cols);

    int row() const { return row_; }
    int col() const { return col_; }
    void setRow(int row);
    void setCol(int col);

    const std::string& text() const { return cell(row_, col_); }
    void setText(std::string text);
    const std::string& cell(int row, int col) const;

    // Empties every cell, header and labels included; the counts stay.
    void clear();

    int colWidth(int col) const;
    void setColWidth(int col, int twips);
    void setAllColWidths(int twips);

    int rowHeight(int row) const;
    void setRowHeight(int row, int twips);
    void resetRowHeights();
    bool rowHidden(int row) const { return rowHeight(row) == 0; }

    void setListener(Listener listener) { listener_ = std::move(listener); }

private:
    bool contains(int row, int col) const;
    std::string& at(int row, int col) {
        return cells_[static_cast<std::size_t>(row * cols_ + col)];
    }
    void resize(int rows, int cols);
    void notify(Change change, int row = -1, int col = -1) const;

    int rows_ = 0;
    int cols_ = 0;
    int row_ = 0;
    int col_ = 0;
    std::vector<std::string> cells_;
    std::vector<int> colWidths_;
    std::vector<int> rowHeights_;
    Listener listener_;
};

} // namespace kym
