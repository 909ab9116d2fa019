#pragma once

#include "editor/GridEditing.h"
#include "editor/ViewState.h"

#include <QObject>
#include <array>

class QComboBox;

namespace kym {

class Prompter;
class RegisterGridView;
class TransmitterIdListModel;

// The six drop-down editing boxes, hidden in front of the grid until a click lays one of them
// over a cell. Escape leaves a box without writing; Enter in a typed box opens its list, since
// only a pick from the list is written.
class CellEditors : public QObject {
    Q_OBJECT
public:
    CellEditors(RegisterGridView& grid, const GridEditing& editing, Prompter& prompter,
                QObject* parent);

    // Null for None.
    QComboBox* box(EditBox which) const;
    // The box laid over a cell; null while all are hidden.
    QComboBox* shownBox() const;

    // Lays the box over the grid's current cell showing text, after rebuilding a range box's
    // list from the clicked row; gives back the text the box showed before. The box does not
    // take the focus.
    std::string place(EditBox which, const QString& text);
    // The shown box takes the focus and opens its list, unless it is disabled.
    void openShownBox();
    void hide(EditBox which);
    void HideEditCombos();
    void enable(const EditBoxEnables& enabled);

    // The channel, digital and analog lists, made once at window load.
    void fillLoadLists();
    void FillTransmitterIDList();
    void FillChannelList();
    void FillDigitalFormatList();
    void FillAnalogFormatList();
    void FillStartList();
    void FillEndList();

Q_SIGNALS:
    // An entry of the box's list was picked.
    void picked(EditBox which, int index);
    // The text part of a typed box was typed into.
    void typedInto(EditBox which);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillRangeList(EditBox which, RangeEnd end);
    void showText(EditBox which, const QString& text);

    RegisterGridView& grid_;
    const GridEditing& editing_;
    Prompter& prompter_;
    std::array<QComboBox*, 6> boxes_{};
    TransmitterIdListModel* transmitterIds_ = nullptr;
};

} // namespace kym
