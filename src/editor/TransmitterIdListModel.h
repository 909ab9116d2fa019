#pragma once

#include <QAbstractListModel>
#include <QSize>

class QComboBox;

namespace kym {

// The 65,522 transmitter IDs, made on demand: filling the list costs nothing and only the
// entries on screen are ever turned into text.
class TransmitterIdListModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    // Gives the box an empty list of this kind, drawn with uniform item sizes.
    static TransmitterIdListModel* install(QComboBox* box);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    void fill();

private:
    bool filled_ = false;
    QSize itemSize_;
};

} // namespace kym
