#include "editor/FlexGrid.h"

#include "config/DeviceTypes.h"
#include "dialogs/frmMisc.h"
#include "dialogs/frmRESET.h"
#include "editor/RegisterGridView.h"
#include "editor/TransmitterIdListModel.h"
#include "editor/ViewState.h"
#include "gateway/frmFTP.h"
#include "gateway/frmIPaddress.h"
#include "gateway/frmProperties.h"
#include "gateway/frmUnitID.h"
#include "transfer/frmTransfer.h"
#include "ui/Text.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace kym {

FlexGrid::FlexGrid(ProgramState& state, Services services, SerialPortFactory serialPorts,
                   FtpClientFactory ftpClients, QWidget* parent)
    : QMainWindow(parent), state_(state), services_(std::move(services)),
      serialPorts_(std::move(serialPorts)), ftpClients_(std::move(ftpClients)),
      lifecycle_(state_, services_.prompter, services_.fileDialogs, services_.folders),
      editing_(state_, [this] { lifecycle_.MarkChanged(); }) {
    setObjectName(QStringLiteral("FlexGrid"));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    grid_ = new RegisterGridView(state_.grid, central);
    emptyHint_ =
        new QLabel(QStringLiteral("Choose a device type from the DeviceType menu, then File > New, "
                                  "or open a register configuration with File > Open."),
                   central);
    emptyHint_->setObjectName(QStringLiteral("lblNoDocument"));
    emptyHint_->setAlignment(Qt::AlignCenter);
    emptyHint_->setWordWrap(true);
    layout->addWidget(grid_);
    layout->addWidget(emptyHint_);
    setCentralWidget(central);
    resize(grid_->twipsToPixels(900 + 5 * 2200) + 40, grid_->twipsToPixels(360 * 11) + 60);

    createMenus();
    createEditBoxes();
    Timer1_ = new QTimer(this);
    Timer1_->setSingleShot(true);
    Timer1_->setInterval(1);
    lifecycle_.setHideEditCombos([this] { HideEditCombos(); });
    connectHandlers();
    Form_Load();
}

QComboBox* FlexGrid::editBox(EditBox box) const {
    switch (box) {
    case EditBox::TransId:
        return ComboTransID_;
    case EditBox::Channel:
        return ComboChannel_;
    case EditBox::DataAnalog:
        return ComboDataAnalog_;
    case EditBox::DataDigital:
        return ComboDataDigital_;
    case EditBox::Start:
        return ComboStart_;
    case EditBox::End:
        return ComboEnd_;
    case EditBox::None:
        break;
    }
    return nullptr;
}

QAction* FlexGrid::action(const QString& objectName) const {
    const auto found = actions_.find(objectName);
    return found == actions_.end() ? nullptr : found->second;
}

void FlexGrid::Form_Load() {
    lifecycle_.startUp();
    if (const QScreen* screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        move(available.left() + (available.width() - width()) / 2,
             available.top() + (available.height() - height()) / 2);
    }
    HideEditCombos();
    for (const auto& entry : channelEntries())
        ComboChannel_->addItem(toQt(entry));
    FillDigitalFormatList();
    FillAnalogFormatList();
    showState();
    Timer1_->start();
}

// The six boxes sit hidden in front of the grid; a click lays one of them over a cell.
void FlexGrid::createEditBoxes() {
    QWidget* area = grid_->parentWidget();
    const auto makeBox = [area, this](const char* name, const char* accessibleName, bool typed) {
        auto* box = new QComboBox(area);
        box->setObjectName(QString::fromLatin1(name));
        box->setAccessibleName(QString::fromLatin1(accessibleName));
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(4);
        box->setMaxVisibleItems(16);
        box->setEditable(typed);
        if (typed) {
            // Typed text is never written into the grid, so it must not join the list either.
            box->setInsertPolicy(QComboBox::NoInsert);
            box->setCompleter(nullptr);
            box->lineEdit()->setAccessibleName(box->accessibleName());
            box->lineEdit()->installEventFilter(this);
        }
        box->installEventFilter(this);
        box->view()->installEventFilter(this);
        box->hide();
        box->raise();
        return box;
    };
    ComboTransID_ = makeBox("ComboTransID", "TRANSMITTER ID", true);
    ComboChannel_ = makeBox("ComboChannel", "TRANS CHAN", true);
    ComboDataAnalog_ = makeBox("ComboDataAnalog", "DATA FORMAT (analog)", false);
    ComboDataDigital_ = makeBox("ComboDataDigital", "DATA FORMAT (digital)", false);
    ComboStart_ = makeBox("ComboStart", "RANGE START", false);
    ComboEnd_ = makeBox("ComboEnd", "RANGE END", false);

    transmitterIds_ = TransmitterIdListModel::install(ComboTransID_);
}

QAction* FlexGrid::addEntry(QMenu* menu, const char* objectName, const QString& caption,
                            const QKeySequence& shortcut) {
    QAction* entry =
        caption == QStringLiteral("-") ? menu->addSeparator() : menu->addAction(caption);
    entry->setObjectName(QString::fromLatin1(objectName));
    if (!shortcut.isEmpty())
        entry->setShortcut(shortcut);
    actions_[entry->objectName()] = entry;
    return entry;
}

void FlexGrid::createMenus() {
    mnuFile_ = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile_->setObjectName(QStringLiteral("mnuFile"));
    addEntry(mnuFile_, "mnuNewGatewayConfig", QStringLiteral("New"), QKeySequence::New);
    addEntry(mnuFile_, "mnuOpenConfig", QStringLiteral("Open"), QKeySequence::Open);
    addEntry(mnuFile_, "M3", QStringLiteral("-"));
    addEntry(mnuFile_, "mnuRegistersSave", QStringLiteral("Save"), QKeySequence::Save);
    addEntry(mnuFile_, "mnuRegistersSaveAs", QStringLiteral("Save As"),
             QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    addEntry(mnuFile_, "Bar1", QStringLiteral("-"));
    addEntry(mnuFile_, "mnuFileTransfer", QStringLiteral("&File Transfer"));
    addEntry(mnuFile_, "Bar2", QStringLiteral("-"));
    addEntry(mnuFile_, "mnuFileExit", QStringLiteral("E&xit"),
             QKeySequence(QStringLiteral("Ctrl+Q")));

    mnuComm_ = menuBar()->addMenu(QStringLiteral("&Settings"));
    mnuComm_->setObjectName(QStringLiteral("mnuComm"));
    addEntry(mnuComm_, "mnuMiscellaneous", QStringLiteral("Miscellaneous"));

    mnuCompatibility_ = menuBar()->addMenu(QStringLiteral("&DeviceType"));
    mnuCompatibility_->setObjectName(QStringLiteral("mnuCompatibility"));
    for (const auto& type : kDeviceTypes) {
        QAction* entry = addEntry(mnuCompatibility_, type.menuControl.data(), toQt(type.caption));
        entry->setCheckable(true);
    }

    QMenu* mnuGateway = menuBar()->addMenu(QStringLiteral("&Gateway"));
    mnuGateway->setObjectName(QStringLiteral("mnuGateway"));
    addEntry(mnuGateway, "mnuGatewayIP", QStringLiteral("IP Address..."));
    addEntry(mnuGateway, "mnuGatewayUnitId", QStringLiteral("Unit ID..."));
    addEntry(mnuGateway, "mnuGatewayProperties", QStringLiteral("Serial Properties..."));
    addEntry(mnuGateway, "mnuGatewayFTP", QStringLiteral("FTP Transfer..."));

    // A top-level popup of the window, as the menu bar's menus are, so that assistive tools
    // announce it; the Menu key and Shift+F10 open it on the grid's current cell.
    mnuGridContext_ = new QMenu(this);
    mnuGridContext_->setObjectName(QStringLiteral("mnuGridContext"));
    mnuGridContext_->setAccessibleName(QStringLiteral("Grid Cell"));
    addEntry(mnuGridContext_, "mnuSetpointRange", QStringLiteral("Setpoint Range..."));
    auto* menuKeys = new QAction(grid_);
    menuKeys->setObjectName(QStringLiteral("mnuGridContextKeys"));
    menuKeys->setShortcuts({QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)});
    menuKeys->setShortcutContext(Qt::WidgetShortcut);
    grid_->addAction(menuKeys);
    actions_[menuKeys->objectName()] = menuKeys;
}

// Every handler is connected here and nowhere else.
void FlexGrid::connectHandlers() {
    const auto bind = [this](const char* name, void (FlexGrid::*handler)()) {
        connect(action(QString::fromLatin1(name)), &QAction::triggered, this, handler);
    };
    bind("mnuNewGatewayConfig", &FlexGrid::mnuNewGatewayConfig_Click);
    bind("mnuOpenConfig", &FlexGrid::mnuOpenConfig_Click);
    bind("mnuRegistersSave", &FlexGrid::mnuRegistersSave_Click);
    bind("mnuRegistersSaveAs", &FlexGrid::mnuRegistersSaveAs_Click);
    bind("mnuFileTransfer", &FlexGrid::mnuFileTransfer_Click);
    bind("mnuFileExit", &FlexGrid::mnuFileExit_Click);
    bind("mnuMiscellaneous", &FlexGrid::mnuMiscellaneous_Click);
    bind("mnuNewConfig", &FlexGrid::mnuNewConfig_Click);
    bind("mnuExtender", &FlexGrid::mnuExtender_Click);
    bind("mnuTwoReceive", &FlexGrid::mnuTwoReceive_Click);
    bind("mnuFour_Control", &FlexGrid::mnuFour_Control_Click);
    bind("mnuTwo_Control", &FlexGrid::mnuTwo_Control_Click);
    bind("mnuSetpointRange", &FlexGrid::mnuSetpointRange_Click);
    bind("mnuGatewayIP", &FlexGrid::mnuGatewayIP_Click);
    bind("mnuGatewayUnitId", &FlexGrid::mnuGatewayUnitId_Click);
    bind("mnuGatewayProperties", &FlexGrid::mnuGatewayProperties_Click);
    bind("mnuGatewayFTP", &FlexGrid::mnuGatewayFTP_Click);

    connect(grid_, &RegisterGridView::cellClicked, this, &FlexGrid::MSFlexGrid1_Click);
    connect(grid_, &RegisterGridView::cellActivated, this, &FlexGrid::MSFlexGrid1_KeyDown);
    connect(grid_, &RegisterGridView::scrolled, this, &FlexGrid::MSFlexGrid1_Scroll);
    connect(grid_, &RegisterGridView::cellMenuRequested, this, &FlexGrid::MSFlexGrid1_ContextMenu);
    connect(action(QStringLiteral("mnuGridContextKeys")), &QAction::triggered, this, [this] {
        QContextMenuEvent fromKeys(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        QCoreApplication::sendEvent(grid_, &fromKeys);
    });
    connect(ComboTransID_, &QComboBox::activated, this, &FlexGrid::ComboTransID_Click);
    connect(ComboChannel_, &QComboBox::activated, this, &FlexGrid::ComboChannel_Click);
    connect(ComboDataAnalog_, &QComboBox::activated, this, &FlexGrid::ComboDataAnalog_Click);
    connect(ComboDataDigital_, &QComboBox::activated, this, &FlexGrid::ComboDataDigital_Click);
    connect(ComboStart_, &QComboBox::activated, this, &FlexGrid::ComboStart_Click);
    connect(ComboEnd_, &QComboBox::activated, this, &FlexGrid::ComboEnd_Click);
    // Typing raises the change notification; a text set while placing counts in GridEditing.
    connect(ComboTransID_->lineEdit(), &QLineEdit::textEdited, this,
            &FlexGrid::ComboTransID_Change);
    connect(ComboChannel_->lineEdit(), &QLineEdit::textEdited, this,
            &FlexGrid::ComboChannel_Change);
    connect(Timer1_, &QTimer::timeout, this, &FlexGrid::Timer1_Timer);
}

void FlexGrid::showState() {
    const ViewState view = viewStateOf(state_);
    setWindowTitle(toQt(view.title));
    mnuComm_->setEnabled(view.settingsEnabled);
    mnuCompatibility_->setTitle(toQt(view.compatibilityCaption));
    for (const auto& type : kDeviceTypes) {
        QAction* entry = action(toQt(type.menuControl));
        entry->setChecked(view.checkedDeviceType == type.identifier);
    }
    action(QStringLiteral("mnuFour_Control"))->setVisible(view.controlVariantsVisible);
    action(QStringLiteral("mnuTwo_Control"))->setVisible(view.controlVariantsVisible);
    grid_->setVisible(state_.gridVisible);
    emptyHint_->setVisible(!state_.gridVisible);
    const EditBoxEnables& enabled = view.boxes;
    ComboTransID_->setEnabled(enabled.transId);
    ComboChannel_->setEnabled(enabled.channel);
    ComboDataAnalog_->setEnabled(enabled.dataAnalog);
    ComboDataDigital_->setEnabled(enabled.dataDigital);
    ComboStart_->setEnabled(enabled.start);
    ComboEnd_->setEnabled(enabled.end);
}

void FlexGrid::mnuNewGatewayConfig_Click() {
    lifecycle_.startNewDocument();
    showState();
}

void FlexGrid::mnuOpenConfig_Click() {
    lifecycle_.OpenDocument();
    showState();
}

void FlexGrid::mnuRegistersSave_Click() {
    lifecycle_.save();
    showState();
}

void FlexGrid::mnuRegistersSaveAs_Click() {
    lifecycle_.saveAs();
    showState();
}

void FlexGrid::mnuFileTransfer_Click() {
    const bool mayOpen = lifecycle_.prepareFileTransfer();
    showState();
    if (!mayOpen)
        return;
    frmTransfer dialog(state_, services_, serialPorts_(), this);
    services_.runDialog(dialog);
}

void FlexGrid::mnuFileExit_Click() {
    const bool mayClose = lifecycle_.exitRequested();
    showState();
    if (mayClose)
        close();
}

void FlexGrid::mnuMiscellaneous_Click() {
    frmMisc dialog(state_, services_.prompter, this);
    services_.runDialog(dialog);
    lifecycle_.dialogReturned();
    showState();
}

void FlexGrid::chooseDeviceType(std::string_view identifier) {
    lifecycle_.chooseDeviceType(identifier);
    showState();
}

void FlexGrid::MSFlexGrid1_Click() {
    const EditBox box = editing_.clicked();
    HideEditCombos();
    if (box == EditBox::Start)
        FillStartList();
    else if (box == EditBox::End)
        FillEndList();
    if (QComboBox* combo = editBox(box)) {
        const std::string previousText = fromQt(combo->currentText());
        placeBox(combo);
        editing_.placed(box, previousText);
    }
    showState();
}

// From the keyboard an edit is a click that also opens the box's list.
void FlexGrid::MSFlexGrid1_KeyDown() {
    MSFlexGrid1_Click();
    QComboBox* box = visibleBox();
    if (box && box->isEnabled()) {
        box->setFocus();
        box->showPopup();
    }
}

void FlexGrid::MSFlexGrid1_Scroll() {
    HideEditCombos();
}

void FlexGrid::ComboTransID_Click(int index) {
    editing_.picked(EditBox::TransId, fromQt(ComboTransID_->itemText(index)));
    pickDone(ComboTransID_);
}

void FlexGrid::ComboChannel_Click(int index) {
    editing_.picked(EditBox::Channel, fromQt(ComboChannel_->itemText(index)));
    pickDone(ComboChannel_);
}

void FlexGrid::ComboDataAnalog_Click(int index) {
    editing_.picked(EditBox::DataAnalog, fromQt(ComboDataAnalog_->itemText(index)));
    pickDone(ComboDataAnalog_);
}

void FlexGrid::ComboDataDigital_Click(int index) {
    editing_.picked(EditBox::DataDigital, fromQt(ComboDataDigital_->itemText(index)));
    pickDone(ComboDataDigital_);
}

void FlexGrid::ComboStart_Click(int index) {
    const RangeVerdict verdict =
        editing_.pickedRange(RangeEnd::Start, fromQt(ComboStart_->itemText(index)));
    if (!verdict.accepted)
        services_.prompter.inform(verdict.message);
    pickDone(ComboStart_);
}

void FlexGrid::ComboEnd_Click(int index) {
    const RangeVerdict verdict =
        editing_.pickedRange(RangeEnd::End, fromQt(ComboEnd_->itemText(index)));
    if (!verdict.accepted)
        services_.prompter.inform(verdict.message);
    pickDone(ComboEnd_);
}

void FlexGrid::ComboTransID_Change() {
    editing_.textChanged();
    showState();
}

void FlexGrid::ComboChannel_Change() {
    editing_.textChanged();
    showState();
}

void FlexGrid::Timer1_Timer() {
    Timer1_->stop();
    FillTransmitterIDList();
}

// A controller row's DATA FORMAT cell offers the setpoint range dialog. A platform that turns
// the Menu key into a context-menu event as well finds the menu already open.
void FlexGrid::MSFlexGrid1_ContextMenu(const QPoint& globalPos) {
    HideEditCombos();
    if (editing_.offersSetpointRange() && !mnuGridContext_->isVisible())
        mnuGridContext_->popup(globalPos);
}

void FlexGrid::mnuSetpointRange_Click() {
    const auto target = editing_.beginSetpointRange();
    if (!target)
        return;
    frmRESET dialog(state_.grid, *target, this);
    if (services_.runDialog(dialog) == QDialog::Accepted)
        lifecycle_.MarkChanged();
    showState();
}

void FlexGrid::pickDone(QComboBox* box) {
    box->hide();
    showState();
    grid_->setFocus();
}

void FlexGrid::HideEditCombos() {
    for (QComboBox* box : {ComboChannel_, ComboDataAnalog_, ComboDataDigital_, ComboStart_,
                           ComboEnd_, ComboTransID_})
        box->hide();
}

QComboBox* FlexGrid::visibleBox() const {
    for (QComboBox* box : {ComboTransID_, ComboChannel_, ComboDataAnalog_, ComboDataDigital_,
                           ComboStart_, ComboEnd_})
        if (box->isVisible())
            return box;
    return nullptr;
}

void FlexGrid::FillTransmitterIDList() {
    transmitterIds_->fill();
}

void FlexGrid::FillDigitalFormatList() {
    for (const auto& entry : digitalFormatEntries())
        ComboDataDigital_->addItem(toQt(entry));
}

void FlexGrid::FillAnalogFormatList() {
    for (const auto& entry : analogFormatEntries())
        ComboDataAnalog_->addItem(toQt(entry));
}

void FlexGrid::FillStartList() {
    fillRangeList(ComboStart_, RangeEnd::Start);
}
void FlexGrid::FillEndList() {
    fillRangeList(ComboEnd_, RangeEnd::End);
}

void FlexGrid::fillRangeList(QComboBox* box, RangeEnd end) {
    const RangeList list = editing_.rangeList(end);
    QStringList entries;
    entries.reserve(static_cast<qsizetype>(list.entries.size()));
    for (const auto& entry : list.entries)
        entries.append(toQt(entry));
    box->clear();
    box->addItems(entries);
    if (!list.message.empty())
        services_.prompter.inform(list.message);
}

// The box covers the cell exactly, wherever the grid is scrolled; it is not given the focus.
void FlexGrid::placeBox(QComboBox* box) {
    const QRect cell = grid_->currentCellRect().translated(grid_->pos());
    box->setGeometry(cell);
    showBoxText(box, toQt(state_.grid.text()));
    box->raise();
    box->show();
}

// Editable boxes take any text; the others select the matching entry, or show a text that is
// not in their list as a placeholder.
void FlexGrid::showBoxText(QComboBox* box, const QString& text) {
    if (box->isEditable()) {
        const int index =
            box == ComboTransID_ ? transmitterIdIndex(fromQt(text)) : box->findText(text);
        box->setCurrentIndex(index < box->count() ? index : -1);
        box->setEditText(text);
        return;
    }
    const int index = box->findText(text);
    box->setCurrentIndex(index);
    box->setPlaceholderText(index < 0 ? text : QString());
}

// Escape leaves a box without writing; Enter in the typed part opens the list, since only a
// pick from the list is written.
bool FlexGrid::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    auto* line = qobject_cast<QLineEdit*>(watched);
    if (line && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        if (auto* box = qobject_cast<QComboBox*>(line->parentWidget()))
            box->showPopup();
        return true;
    }
    if (key == Qt::Key_Escape) {
        for (QComboBox* box : {ComboTransID_, ComboChannel_, ComboDataAnalog_, ComboDataDigital_,
                               ComboStart_, ComboEnd_})
            if (box->view() == watched)
                box->hidePopup();
        HideEditCombos();
        grid_->setFocus();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void FlexGrid::mnuNewConfig_Click() {
    chooseDeviceType(kKym3815);
}
void FlexGrid::mnuExtender_Click() {
    chooseDeviceType(kQx4815);
}
void FlexGrid::mnuTwoReceive_Click() {
    chooseDeviceType(kQr4805);
}
void FlexGrid::mnuFour_Control_Click() {
    chooseDeviceType(kQd4815);
}
void FlexGrid::mnuTwo_Control_Click() {
    chooseDeviceType(kQd4805);
}

void FlexGrid::mnuGatewayIP_Click() {
    frmIPaddress dialog(state_, this);
    services_.runDialog(dialog);
    lifecycle_.dialogReturned();
    showState();
}

void FlexGrid::mnuGatewayUnitId_Click() {
    frmUnitID dialog(state_, this);
    services_.runDialog(dialog);
    lifecycle_.dialogReturned();
    showState();
}

void FlexGrid::mnuGatewayProperties_Click() {
    frmProperties dialog(state_, services_.prompter, this);
    services_.runDialog(dialog);
    lifecycle_.dialogReturned();
    showState();
}

void FlexGrid::mnuGatewayFTP_Click() {
    frmFTP dialog(state_, services_, ftpClients_(), this);
    services_.runDialog(dialog);
    showState();
}

void FlexGrid::closeEvent(QCloseEvent* event) {
    if (Form_Unload())
        event->accept();
    else
        event->ignore();
}

// Closing offers to save a changed document; a save the user asked for that did not happen keeps
// the window open.
bool FlexGrid::Form_Unload() {
    const bool mayClose = lifecycle_.closeRequested();
    showState();
    return mayClose;
}

} // namespace kym
