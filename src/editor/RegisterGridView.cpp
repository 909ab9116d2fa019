#include "editor/RegisterGridView.h"

#include "ui/Text.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <cmath>

namespace kym {

// Table model over the register grid without its fixed row and column: model cell (r, c) is
// grid cell (r + 1, c + 1); the fixed row and column become the header sections.
class GridTableModel : public QAbstractTableModel {
public:
    explicit GridTableModel(const RegisterGrid& grid, QObject* parent)
        : QAbstractTableModel(parent), grid_(grid) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : grid_.rows() - 1;
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : grid_.cols() - 1;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid())
            return {};
        const int row = index.row() + 1;
        const int col = index.column() + 1;
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
            return fileTextToQt(grid_.cell(row, col));
        const auto mark = marks.find({row, col});
        if (mark == marks.end())
            return {};
        if (role == Qt::BackgroundRole)
            return QColor(255, 214, 153);
        if (role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole)
            return toQt(mark->second); // a message: UTF-8
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        return orientation == Qt::Horizontal ? fileTextToQt(grid_.cell(0, section + 1))
                                             : fileTextToQt(grid_.cell(section + 1, 0));
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    void reset() {
        beginResetModel();
        endResetModel();
    }
    void allChanged() {
        if (rowCount() > 0 && columnCount() > 0)
            Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
    void cellChanged(int row, int col) {
        if (row == 0 && col > 0)
            Q_EMIT headerDataChanged(Qt::Horizontal, col - 1, col - 1);
        else if (col == 0 && row > 0)
            Q_EMIT headerDataChanged(Qt::Vertical, row - 1, row - 1);
        else if (row > 0 && col > 0)
            Q_EMIT dataChanged(index(row - 1, col - 1), index(row - 1, col - 1));
    }

    RegisterGridView::Marks marks;

private:
    const RegisterGrid& grid_;
};

RegisterGridView::RegisterGridView(RegisterGrid& grid, QWidget* parent)
    : QTableView(parent), grid_(grid), model_(new GridTableModel(grid, this)) {
    setObjectName(QStringLiteral("MSFlexGrid1"));
    setAccessibleName(QStringLiteral("Register table"));
    setModel(model_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionsClickable(false);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    grid_.setListener(
        [this](RegisterGrid::Change change, int row, int col) { gridChanged(change, row, col); });
    connect(this, &QTableView::clicked, this, &RegisterGridView::onClicked);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &RegisterGridView::scrolled);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &RegisterGridView::scrolled);
    applyWidths();
    applyHeights();
}

RegisterGridView::~RegisterGridView() {
    grid_.setListener({});
}

int RegisterGridView::twipsToPixels(int twips) const {
    return static_cast<int>(std::lround(twips * logicalDpiX() / 1440.0));
}

void RegisterGridView::setMarks(Marks marks) {
    model_->marks = std::move(marks);
    marked_ = true;
    model_->allChanged();
}

void RegisterGridView::clearMarks() {
    if (!marked_)
        return;
    marked_ = false;
    model_->marks.clear();
    model_->allChanged();
    Q_EMIT marksCleared();
}

const RegisterGridView::Marks& RegisterGridView::marks() const {
    return model_->marks;
}

// The marks compare cells as they were: any change of the grid makes them stale.
void RegisterGridView::gridChanged(RegisterGrid::Change change, int row, int col) {
    if (change == RegisterGrid::Change::Cell || change == RegisterGrid::Change::Shape)
        clearMarks();
    switch (change) {
    case RegisterGrid::Change::Cell:
        model_->cellChanged(row, col);
        break;
    case RegisterGrid::Change::Shape:
        model_->reset();
        applyWidths();
        applyHeights();
        break;
    case RegisterGrid::Change::Widths:
        applyWidths();
        break;
    case RegisterGrid::Change::Heights:
        applyHeights();
        break;
    }
}

void RegisterGridView::applyWidths() {
    verticalHeader()->setFixedWidth(twipsToPixels(grid_.colWidth(0)));
    for (int c = 1; c < grid_.cols(); ++c)
        setColumnWidth(c - 1, twipsToPixels(grid_.colWidth(c)));
}

void RegisterGridView::applyHeights() {
    horizontalHeader()->setFixedHeight(twipsToPixels(grid_.rowHeight(0)));
    for (int r = 1; r < grid_.rows(); ++r) {
        setRowHidden(r - 1, grid_.rowHidden(r));
        if (!grid_.rowHidden(r))
            setRowHeight(r - 1, twipsToPixels(grid_.rowHeight(r)));
    }
}

QRect RegisterGridView::currentCellRect() const {
    const QRect cell = visualRect(model_->index(grid_.row() - 1, grid_.col() - 1));
    return cell.translated(viewport()->pos());
}

void RegisterGridView::makeCurrent(const QModelIndex& index) {
    grid_.setRow(index.row() + 1);
    grid_.setCol(index.column() + 1);
}

void RegisterGridView::onClicked(const QModelIndex& index) {
    makeCurrent(index);
    Q_EMIT cellClicked();
}

void RegisterGridView::contextMenuEvent(QContextMenuEvent* event) {
    const bool fromKeyboard = event->reason() == QContextMenuEvent::Keyboard;
    const QModelIndex index = fromKeyboard ? currentIndex() : indexAt(event->pos());
    if (!index.isValid())
        return;
    setCurrentIndex(index);
    makeCurrent(index);
    const QPoint at = fromKeyboard ? visualRect(index).center() : event->pos();
    Q_EMIT cellMenuRequested(viewport()->mapToGlobal(at));
}

void RegisterGridView::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool edit = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2 ||
                      (key == Qt::Key_Down && event->modifiers().testFlag(Qt::AltModifier));
    if (edit && currentIndex().isValid()) {
        makeCurrent(currentIndex());
        Q_EMIT cellActivated();
        event->accept();
        return;
    }
    if ((key == Qt::Key_Delete || key == Qt::Key_Backspace) && currentIndex().isValid()) {
        makeCurrent(currentIndex());
        Q_EMIT clearRequested();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace kym
