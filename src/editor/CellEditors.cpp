#include "editor/CellEditors.h"

#include "config/ValueLists.h"
#include "editor/RegisterGridView.h"
#include "editor/TransmitterIdListModel.h"
#include "ui/Prompter.h"
#include "ui/Text.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <iterator>

namespace kym {
namespace {

// When a box's list is made.
enum class Made { AtLoad, ByTimer, AtClick };

struct BoxKind {
    EditBox box;
    const char* objectName;
    const char* accessibleName;
    bool typed; // the text part takes typing
    Made made;
    void (CellEditors::*fill)();
    bool EditBoxEnables::*enabled;
};

constexpr BoxKind kBoxes[] = {
    {EditBox::TransId, "ComboTransID", "TRANSMITTER ID", true, Made::ByTimer,
     &CellEditors::FillTransmitterIDList, &EditBoxEnables::transId},
    {EditBox::Channel, "ComboChannel", "TRANS CHAN", true, Made::AtLoad,
     &CellEditors::FillChannelList, &EditBoxEnables::channel},
    {EditBox::DataAnalog, "ComboDataAnalog", "DATA FORMAT (analog)", false, Made::AtLoad,
     &CellEditors::FillAnalogFormatList, &EditBoxEnables::dataAnalog},
    {EditBox::DataDigital, "ComboDataDigital", "DATA FORMAT (digital)", false, Made::AtLoad,
     &CellEditors::FillDigitalFormatList, &EditBoxEnables::dataDigital},
    {EditBox::Start, "ComboStart", "RANGE START", false, Made::AtClick, &CellEditors::FillStartList,
     &EditBoxEnables::start},
    {EditBox::End, "ComboEnd", "RANGE END", false, Made::AtClick, &CellEditors::FillEndList,
     &EditBoxEnables::end},
};

std::size_t indexOf(EditBox which) {
    for (std::size_t i = 0; i < std::size(kBoxes); ++i)
        if (kBoxes[i].box == which)
            return i;
    return std::size(kBoxes);
}

void addEntries(QComboBox* box, const std::vector<std::string>& entries) {
    for (const auto& entry : entries)
        box->addItem(fileTextToQt(entry));
}

} // namespace

CellEditors::CellEditors(RegisterGridView& grid, const GridEditing& editing, Prompter& prompter,
                         QObject* parent)
    : QObject(parent), grid_(grid), editing_(editing), prompter_(prompter) {
    static_assert(std::tuple_size_v<decltype(boxes_)> == std::size(kBoxes));
    for (std::size_t i = 0; i < std::size(kBoxes); ++i) {
        const BoxKind& kind = kBoxes[i];
        auto* box = new QComboBox(grid_.parentWidget());
        box->setObjectName(toQt(kind.objectName));
        box->setAccessibleName(toQt(kind.accessibleName));
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(4);
        box->setMaxVisibleItems(16);
        box->setEditable(kind.typed);
        if (kind.typed) {
            // Typed text is never written into the grid, so it must not join the list either.
            box->setInsertPolicy(QComboBox::NoInsert);
            box->setCompleter(nullptr);
            box->lineEdit()->setAccessibleName(box->accessibleName());
            box->lineEdit()->installEventFilter(this);
            // Typing raises the change notification; a text set while placing counts in
            // GridEditing.
            connect(box->lineEdit(), &QLineEdit::textEdited, this,
                    [this, which = kind.box] { Q_EMIT typedInto(which); });
        }
        box->installEventFilter(this);
        box->view()->installEventFilter(this);
        box->hide();
        box->raise();
        connect(box, &QComboBox::activated, this,
                [this, which = kind.box](int index) { Q_EMIT picked(which, index); });
        boxes_[i] = box;
    }
    transmitterIds_ = TransmitterIdListModel::install(box(EditBox::TransId));
}

QComboBox* CellEditors::box(EditBox which) const {
    const std::size_t index = indexOf(which);
    return index < boxes_.size() ? boxes_[index] : nullptr;
}

QComboBox* CellEditors::shownBox() const {
    for (QComboBox* box : boxes_)
        if (box->isVisible())
            return box;
    return nullptr;
}

// The box covers the cell exactly, wherever the grid is scrolled.
std::string CellEditors::place(EditBox which, const QString& text) {
    const BoxKind& kind = kBoxes[indexOf(which)];
    if (kind.made == Made::AtClick)
        (this->*kind.fill)();
    QComboBox* box = this->box(which);
    std::string previousText = fileTextFromQt(box->currentText());
    box->setGeometry(grid_.currentCellRect().translated(grid_.pos()));
    showText(which, text);
    box->raise();
    box->show();
    return previousText;
}

// Editable boxes take any text; the others select the matching entry, or show a text that is
// not in their list as a placeholder.
void CellEditors::showText(EditBox which, const QString& text) {
    QComboBox* box = this->box(which);
    if (box->isEditable()) {
        const int index = which == EditBox::TransId ? transmitterIdIndex(fileTextFromQt(text))
                                                    : box->findText(text);
        box->setCurrentIndex(index < box->count() ? index : -1);
        box->setEditText(text);
        return;
    }
    const int index = box->findText(text);
    box->setCurrentIndex(index);
    box->setPlaceholderText(index < 0 ? text : QString());
}

void CellEditors::openShownBox() {
    QComboBox* box = shownBox();
    if (box && box->isEnabled()) {
        box->setFocus();
        box->showPopup();
    }
}

void CellEditors::hide(EditBox which) {
    box(which)->hide();
}

void CellEditors::HideEditCombos() {
    for (QComboBox* box : boxes_)
        box->hide();
}

void CellEditors::enable(const EditBoxEnables& enabled) {
    for (std::size_t i = 0; i < std::size(kBoxes); ++i)
        boxes_[i]->setEnabled(enabled.*kBoxes[i].enabled);
}

void CellEditors::fillLoadLists() {
    for (const BoxKind& kind : kBoxes)
        if (kind.made == Made::AtLoad)
            (this->*kind.fill)();
}

void CellEditors::FillTransmitterIDList() {
    transmitterIds_->fill();
}

void CellEditors::FillChannelList() {
    addEntries(box(EditBox::Channel), channelEntries());
}

void CellEditors::FillDigitalFormatList() {
    addEntries(box(EditBox::DataDigital), digitalFormatEntries());
}

void CellEditors::FillAnalogFormatList() {
    addEntries(box(EditBox::DataAnalog), analogFormatEntries());
}

void CellEditors::FillStartList() {
    fillRangeList(EditBox::Start, RangeEnd::Start);
}

void CellEditors::FillEndList() {
    fillRangeList(EditBox::End, RangeEnd::End);
}

void CellEditors::fillRangeList(EditBox which, RangeEnd end) {
    const RangeList list = editing_.rangeList(end);
    QStringList entries;
    entries.reserve(static_cast<qsizetype>(list.entries.size()));
    for (const auto& entry : list.entries)
        entries.append(fileTextToQt(entry));
    QComboBox* box = this->box(which);
    box->clear();
    box->addItems(entries);
    if (!list.message.empty())
        prompter_.inform(list.message);
}

bool CellEditors::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    auto* line = qobject_cast<QLineEdit*>(watched);
    if (line && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        if (auto* box = qobject_cast<QComboBox*>(line->parentWidget()))
            box->showPopup();
        return true;
    }
    if (key == Qt::Key_Escape) {
        for (QComboBox* box : boxes_)
            if (box->view() == watched)
                box->hidePopup();
        HideEditCombos();
        grid_.setFocus();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kym
