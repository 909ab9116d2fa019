#include "editor/TransmitterIdListModel.h"

#include "config/ValueLists.h"
#include "ui/Text.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QListView>

namespace kym {

TransmitterIdListModel* TransmitterIdListModel::install(QComboBox* box) {
    auto* model = new TransmitterIdListModel(box);
    // Uniform sizes take the first entry's size, and the first entry is empty: every entry
    // gets the size of a full one instead.
    const QFontMetrics metrics(box->font());
    model->itemSize_ =
        QSize(metrics.horizontalAdvance(QStringLiteral("FFF0")), metrics.height() + 6);
    box->setModel(model);
    if (auto* list = qobject_cast<QListView*>(box->view()))
        list->setUniformItemSizes(true);
    return model;
}

int TransmitterIdListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !filled_ ? 0 : kTransmitterIdEntries;
}

QVariant TransmitterIdListModel::data(const QModelIndex& index, int role) const {
    if (index.isValid() && role == Qt::SizeHintRole)
        return itemSize_;
    if (!index.isValid() ||
        (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::AccessibleTextRole))
        return {};
    return fileTextToQt(transmitterIdEntry(index.row()));
}

void TransmitterIdListModel::fill() {
    if (filled_)
        return;
    beginResetModel();
    filled_ = true;
    endResetModel();
}

} // namespace kym
