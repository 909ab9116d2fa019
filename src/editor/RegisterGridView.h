#pragma once

#include "config/RegisterGrid.h"

#include <QTableView>
#include <map>
#include <string>
#include <utility>

namespace kym {

class GridTableModel;

// The register grid on screen: a view of RegisterGrid whose row 0 is the fixed header row and
// column 0 the fixed label column, with widths and heights in twips converted to pixels and
// rows of height 0 hidden. A click makes the clicked cell current in the model, then reports.
class RegisterGridView : public QTableView {
    Q_OBJECT
public:
    RegisterGridView(RegisterGrid& grid, QWidget* parent = nullptr);
    ~RegisterGridView() override;

    int twipsToPixels(int twips) const;

    // Rectangle of the grid's current cell in this widget's coordinates.
    QRect currentCellRect() const;

    // Cells (row, column of the grid) that differ from a compared file, each with its note for
    // the tooltip (UTF-8); shown with a coloured background until the grid next changes. A
    // comparison without cell marks still ends, with marksCleared, at that change.
    using Marks = std::map<std::pair<int, int>, std::string>;
    void setMarks(Marks marks);
    void clearMarks();
    const Marks& marks() const;

Q_SIGNALS:
    void cellClicked();
    // Enter, F2 or Alt+Down on the current cell: edit it as a click would, from the keyboard.
    void cellActivated();
    // Delete or Backspace on the current cell.
    void clearRequested();
    void scrolled();
    // The marks went, by clearMarks or by a change of the grid.
    void marksCleared();
    // The context menu was asked for on a cell, now the model's current cell.
    void cellMenuRequested(const QPoint& globalPos);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void gridChanged(RegisterGrid::Change change, int row, int col);
    void applyWidths();
    void applyHeights();
    void onClicked(const QModelIndex& index);
    void makeCurrent(const QModelIndex& index);

    RegisterGrid& grid_;
    GridTableModel* model_ = nullptr;
    bool marked_ = false;
};

} // namespace kym
