#include "editor/FlexGrid.h"

#include "config/DeviceTypes.h"
#include "config/Paths.h"
#include "config/Version.h"
#include "dialogs/frmMisc.h"
#include "dialogs/frmRESET.h"
#include "report/Record.h"
#include "report/RecordPdf.h"
#include "editor/RegisterGridView.h"
#include "editor/TransmitterIdListModel.h"
#include "editor/ViewState.h"
#include "editor/WindowPlacement.h"
#include "report/frmComparison.h"
#include "gateway/frmFTP.h"
#include "gateway/frmIPaddress.h"
#include "gateway/frmProperties.h"
#include "gateway/frmUnitID.h"
#include "transfer/frmRecord.h"
#include "transfer/frmTransfer.h"
#include "ui/Text.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace kym {
namespace {
const std::string kWindowSizeKey = "windowSize";

// The first register configuration among the dropped files.
std::optional<std::filesystem::path> droppedConfig(const QMimeData* mime) {
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile() &&
            url.toLocalFile().endsWith(QStringLiteral(".vlt"), Qt::CaseInsensitive))
            return std::filesystem::path(url.toLocalFile().toStdString());
    return std::nullopt;
}

// The installed guide, else the one in the source tree of a build-tree run.
std::optional<std::filesystem::path> userGuide() {
    const std::filesystem::path program = QCoreApplication::applicationDirPath().toStdString();
    for (const auto& guide :
         {program.parent_path() / "share" / "doc" / kPackageName / "user-guide.md",
          std::filesystem::path(KYM_SOURCE_DIR) / "docs" / "user-guide.md"}) {
        std::error_code missing;
        if (std::filesystem::is_regular_file(guide, missing))
            return guide;
    }
    return std::nullopt;
}

// A size stored as width and height; empty when unusable.
QSize storedSize(const std::vector<std::string>& stored) {
    if (stored.size() != 2)
        return {};
    bool widthRead = false;
    bool heightRead = false;
    const QSize size(toQt(stored[0]).toInt(&widthRead), toQt(stored[1]).toInt(&heightRead));
    return widthRead && heightRead ? size : QSize();
}
} // namespace

FlexGrid::FlexGrid(ProgramState& state, Services services, SettingsStore& settings,
                   SerialPortFactory serialPorts, FtpClientFactory ftpClients, QWidget* parent)
    : QMainWindow(parent), state_(state), services_(std::move(services)), settings_(settings),
      recentFiles_(settings), serialPorts_(std::move(serialPorts)),
      ftpClients_(std::move(ftpClients)),
      lifecycle_(state_, services_.prompter, services_.fileDialogs, services_.folders),
      editing_(state_, lifecycle_.history(), [this] { lifecycle_.MarkChanged(); }) {
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
    // Tall enough for the extender's 24 rows where the screen allows (placeOnScreen).
    resize(grid_->twipsToPixels(900 + 5 * 2200) + 40,
           grid_->twipsToPixels(360 * gridRowsFor(kQx4815)) + 60);
    setAcceptDrops(true);

    createMenus();
    createGridContextMenu();
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
    placeOnScreen();
    HideEditCombos();
    for (const auto& entry : channelEntries())
        ComboChannel_->addItem(toQt(entry));
    FillDigitalFormatList();
    FillAnalogFormatList();
    showState();
    Timer1_->start();
}

// The size the user last gave the window, else the start size; centred and inside the screen.
void FlexGrid::placeOnScreen() {
    const QSize stored = storedSize(settings_.read(kWindowSizeKey));
    const QSize wanted = stored.isValid() ? stored : size();
    const QScreen* screen = this->screen();
    if (!screen) {
        resize(wanted);
        return;
    }
    const double scale = screen->devicePixelRatio();
    // The title bar stands above the window's own area; the desktop draws it once shown.
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    const QRect area = screen->availableGeometry().adjusted(0, 0, 0, -titleBar);
    const auto device = [scale](int pixels) {
        return static_cast<int>(std::lround(pixels * scale));
    };
    const WindowRect placed = placeWindow(
        {device(area.left()), device(area.top()), device(area.width()), device(area.height())},
        wanted.width(), wanted.height(), scale);
    move(placed.left, placed.top);
    resize(placed.width, placed.height);
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
    mnuRecentFiles_ = mnuFile_->addMenu(QStringLiteral("Recent Files"));
    mnuRecentFiles_->setObjectName(QStringLiteral("mnuRecentFiles"));
    addEntry(mnuFile_, "M3", QStringLiteral("-"));
    addEntry(mnuFile_, "mnuRegistersSave", QStringLiteral("Save"), QKeySequence::Save);
    addEntry(mnuFile_, "mnuRegistersSaveAs", QStringLiteral("Save As"),
             QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    addEntry(mnuFile_, "Bar1", QStringLiteral("-"));
    addEntry(mnuFile_, "mnuFileTransfer", QStringLiteral("&File Transfer"));
    addEntry(mnuFile_, "mnuProgrammingRecord", QStringLiteral("Programming &Record..."));
    addEntry(mnuFile_, "BarCompare", QStringLiteral("-"));
    addEntry(mnuFile_, "mnuCompareWith", QStringLiteral("Compare With..."),
             QKeySequence(QStringLiteral("Ctrl+D")));
    addEntry(mnuFile_, "mnuClearComparison", QStringLiteral("Clear Comparison"),
             QKeySequence(QStringLiteral("Ctrl+Shift+D")));
    addEntry(mnuFile_, "mnuPrint", QStringLiteral("Print..."), QKeySequence::Print);
    addEntry(mnuFile_, "mnuExportPdf", QStringLiteral("Export PDF..."),
             QKeySequence(QStringLiteral("Ctrl+E")));
    addEntry(mnuFile_, "Bar2", QStringLiteral("-"));
    addEntry(mnuFile_, "mnuFileExit", QStringLiteral("E&xit"),
             QKeySequence(QStringLiteral("Ctrl+Q")));

    QMenu* mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    addEntry(mnuEdit, "mnuUndo", QStringLiteral("Undo"), QKeySequence(QStringLiteral("Ctrl+Z")));
    addEntry(mnuEdit, "mnuRedo", QStringLiteral("Redo"))
        ->setShortcuts(
            {QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});

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

    QMenu* mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    addEntry(mnuHelp, "mnuUserGuide", QStringLiteral("User Guide"), QKeySequence::HelpContents);
    addEntry(mnuHelp, "mnuAbout", QStringLiteral("About"));
}

void FlexGrid::createGridContextMenu() {
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
    bind("mnuProgrammingRecord", &FlexGrid::mnuProgrammingRecord_Click);
    bind("mnuFileExit", &FlexGrid::mnuFileExit_Click);
    bind("mnuMiscellaneous", &FlexGrid::mnuMiscellaneous_Click);
    bind("mnuNewConfig", &FlexGrid::mnuNewConfig_Click);
    bind("mnuExtender", &FlexGrid::mnuExtender_Click);
    bind("mnuTwoReceive", &FlexGrid::mnuTwoReceive_Click);
    bind("mnuFour_Control", &FlexGrid::mnuFour_Control_Click);
    bind("mnuTwo_Control", &FlexGrid::mnuTwo_Control_Click);
    bind("mnuSetpointRange", &FlexGrid::mnuSetpointRange_Click);
    bind("mnuUndo", &FlexGrid::mnuUndo_Click);
    bind("mnuRedo", &FlexGrid::mnuRedo_Click);
    bind("mnuGatewayIP", &FlexGrid::mnuGatewayIP_Click);
    bind("mnuGatewayUnitId", &FlexGrid::mnuGatewayUnitId_Click);
    bind("mnuGatewayProperties", &FlexGrid::mnuGatewayProperties_Click);
    bind("mnuGatewayFTP", &FlexGrid::mnuGatewayFTP_Click);
    bind("mnuUserGuide", &FlexGrid::mnuUserGuide_Click);
    bind("mnuAbout", &FlexGrid::mnuAbout_Click);
    bind("mnuCompareWith", &FlexGrid::mnuCompareWith_Click);
    bind("mnuClearComparison", &FlexGrid::mnuClearComparison_Click);
    bind("mnuPrint", &FlexGrid::mnuPrint_Click);
    bind("mnuExportPdf", &FlexGrid::mnuExportPdf_Click);
    connect(grid_, &RegisterGridView::marksCleared, this, &FlexGrid::mnuClearComparison_Click);
    connect(mnuRecentFiles_, &QMenu::aboutToShow, this, &FlexGrid::mnuRecentFiles_Show);
    connect(mnuRecentFiles_, &QMenu::triggered, this, &FlexGrid::mnuRecentFiles_Click);
    lifecycle_.setFileUsed([this](const std::string& path) { recentFiles_.add(path); });

    connect(grid_, &RegisterGridView::cellClicked, this, &FlexGrid::MSFlexGrid1_Click);
    connect(grid_, &RegisterGridView::cellActivated, this, &FlexGrid::MSFlexGrid1_KeyDown);
    connect(grid_, &RegisterGridView::scrolled, this, &FlexGrid::MSFlexGrid1_Scroll);
    connect(grid_, &RegisterGridView::clearRequested, this, &FlexGrid::MSFlexGrid1_Delete);
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
        entry->setVisible(!type.controlVariant || view.controlVariantsVisible);
    }
    grid_->setVisible(state_.gridVisible);
    emptyHint_->setVisible(!state_.gridVisible);
    const EditBoxEnables& enabled = view.boxes;
    ComboTransID_->setEnabled(enabled.transId);
    ComboChannel_->setEnabled(enabled.channel);
    ComboDataAnalog_->setEnabled(enabled.dataAnalog);
    ComboDataDigital_->setEnabled(enabled.dataDigital);
    ComboStart_->setEnabled(enabled.start);
    ComboEnd_->setEnabled(enabled.end);
    const EditHistory& history = lifecycle_.history();
    const auto showStep = [](QAction* entry, const QString& verb, const std::string& step) {
        entry->setText(step.empty() ? verb : verb + QLatin1Char(' ') + toQt(step));
        entry->setEnabled(!step.empty());
    };
    showStep(action(QStringLiteral("mnuUndo")), QStringLiteral("Undo"), history.undoName());
    showStep(action(QStringLiteral("mnuRedo")), QStringLiteral("Redo"), history.redoName());
    showComparisonState();
}

void FlexGrid::mnuNewGatewayConfig_Click() {
    lifecycle_.startNewDocument();
    showState();
}

void FlexGrid::mnuOpenConfig_Click() {
    lifecycle_.OpenDocument();
    showState();
}

void FlexGrid::openFile(const std::filesystem::path& path) {
    lifecycle_.openFile(path);
    showState();
}

// Rebuilt at every opening: newest first, numbered for the keyboard.
void FlexGrid::mnuRecentFiles_Show() {
    mnuRecentFiles_->clear();
    int number = 0;
    for (const auto& path : recentFiles_.paths()) {
        QString caption = QString::fromStdString(path);
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry =
            mnuRecentFiles_->addAction(QStringLiteral("&%1 %2").arg(++number).arg(caption));
        entry->setObjectName(QStringLiteral("mnuRecentFile%1").arg(number));
        entry->setData(QString::fromStdString(path));
    }
    mnuRecentFiles_->addSeparator();
    QAction* clear = mnuRecentFiles_->addAction(QStringLiteral("Clear Recent Files"));
    clear->setObjectName(QStringLiteral("mnuClearRecentFiles"));
    clear->setEnabled(!recentFiles_.paths().empty());
}

void FlexGrid::mnuRecentFiles_Click(QAction* entry) {
    if (entry->objectName() == QStringLiteral("mnuClearRecentFiles")) {
        recentFiles_.clear();
        return;
    }
    const std::string path = entry->data().toString().toStdString();
    std::error_code missing;
    if (!std::filesystem::exists(path, missing)) {
        services_.prompter.warn(path + " no longer exists; it is removed from the recent files.");
        recentFiles_.remove(path);
        return;
    }
    openFile(path);
}

// A dropped file opens as File > Open would open it, once the drop has ended, so that the
// question about a changed document does not hold up the program it came from.
void FlexGrid::dragEnterEvent(QDragEnterEvent* event) {
    if (droppedConfig(event->mimeData()))
        event->acceptProposedAction();
}

void FlexGrid::dropEvent(QDropEvent* event) {
    const auto path = droppedConfig(event->mimeData());
    if (!path)
        return;
    event->acceptProposedAction();
    QTimer::singleShot(0, this, [this, dropped = *path] { openFile(dropped); });
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

void FlexGrid::mnuProgrammingRecord_Click() {
    frmRecord dialog(ProgrammingRecord(services_.folders.programmingRecord()), this);
    if (services_.runDialog(dialog) == QDialog::Accepted)
        openFile(dialog.chosenFile());
}

void FlexGrid::mnuFileExit_Click() {
    const bool mayClose = lifecycle_.exitRequested();
    showState();
    if (mayClose)
        close();
}

void FlexGrid::mnuMiscellaneous_Click() {
    frmMisc dialog(state_, services_.prompter, this);
    runEditingDialog(dialog, "Options");
    lifecycle_.dialogReturned();
    showState();
}

int FlexGrid::runEditingDialog(QDialog& dialog, std::string step) {
    DocumentSnapshot before = lifecycle_.history().snapshot();
    const int result = services_.runDialog(dialog);
    lifecycle_.history().record(std::move(step), std::move(before));
    return result;
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

void FlexGrid::MSFlexGrid1_Delete() {
    HideEditCombos();
    editing_.cleared();
    showState();
}

void FlexGrid::mnuUndo_Click() {
    HideEditCombos();
    lifecycle_.history().undo();
    showState();
}

void FlexGrid::mnuRedo_Click() {
    HideEditCombos();
    lifecycle_.history().redo();
    showState();
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
    if (runEditingDialog(dialog, "Setpoint Range") == QDialog::Accepted)
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
    runEditingDialog(dialog, "IP Address");
    lifecycle_.dialogReturned();
    showState();
}

void FlexGrid::mnuGatewayUnitId_Click() {
    frmUnitID dialog(state_, this);
    runEditingDialog(dialog, "Unit ID");
    lifecycle_.dialogReturned();
    showState();
}

void FlexGrid::mnuGatewayProperties_Click() {
    frmProperties dialog(state_, services_.prompter, this);
    runEditingDialog(dialog, "Serial Properties");
    lifecycle_.dialogReturned();
    showState();
}

void FlexGrid::mnuGatewayFTP_Click() {
    frmFTP dialog(state_, services_, ftpClients_(), this);
    services_.runDialog(dialog);
    showState();
}

void FlexGrid::mnuUserGuide_Click() {
    const auto guide = userGuide();
    if (!guide) {
        services_.prompter.warn("The user guide is not installed.");
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(guide->string())));
}

void FlexGrid::mnuAbout_Click() {
    services_.prompter.inform(std::string(kDesignCaption) + "\n\nkymeditor " +
                              std::string(kVersion) + "\nQt " + qVersion() +
                              "\nLicence: " + std::string(kLicence) +
                              "\nkym folder: " + services_.folders.kym().string());
}

void FlexGrid::mnuCompareWith_Click() {
    const auto path = services_.fileDialogs.openFile(
        {"Compare With", "Register configurations", "*.vlt", services_.folders.kym3815(), ""});
    if (!path)
        return;
    const auto other = readConfiguration(*path);
    if (!other) {
        services_.prompter.warn(locatedError(utf8Of(*path), other.error()));
        return;
    }
    showComparison(utf8Of(path->filename()), compareConfigurations(state_, *other));
    showState();
}

void FlexGrid::showComparison(const std::string& fileName, const ConfigurationDiff& diff) {
    mnuClearComparison_Click();
    if (diff.empty()) {
        services_.prompter.inform("The configuration does not differ from " + fileName + ".");
        return;
    }
    RegisterGridView::Marks marks;
    std::vector<std::string> lines;
    for (const auto& setting : diff.settings)
        lines.push_back(settingLine(setting));
    for (const auto& cell : diff.cells) {
        if (cell.col > 0)
            marks[{cell.row, cell.col}] =
                fileName + ": " + (cell.theirs.empty() ? "(empty)" : cell.theirs);
        else
            lines.push_back(cell.line);
    }
    grid_->setMarks(std::move(marks));
    comparedHeader_ = state_.header;
    if (lines.empty())
        return;
    if (!comparison_)
        comparison_ = new frmComparison(this);
    comparison_->showState(fileName, lines);
    comparison_->show();
}

void FlexGrid::mnuClearComparison_Click() {
    comparedHeader_.reset();
    grid_->clearMarks();
    if (comparison_)
        comparison_->hide();
    showComparisonState();
}

void FlexGrid::showComparisonState() {
    if (comparedHeader_ && *comparedHeader_ != state_.header)
        mnuClearComparison_Click();
    const bool document = documentExists(state_);
    for (const char* name : {"mnuCompareWith", "mnuPrint", "mnuExportPdf"})
        action(QString::fromLatin1(name))->setEnabled(document);
    action(QStringLiteral("mnuClearComparison"))->setEnabled(comparedHeader_.has_value());
}

std::string FlexGrid::recordHtmlNow() const {
    return recordHtml(recordOf(state_, std::chrono::system_clock::now()));
}

void FlexGrid::mnuPrint_Click() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (services_.runDialog(dialog) != QDialog::Accepted)
        return;
    printRecord(recordHtmlNow(), printer);
    if (printer.printerState() == QPrinter::Error)
        services_.prompter.warn("The record could not be printed.");
}

void FlexGrid::mnuExportPdf_Click() {
    const std::string stem = state_.document.hasFileName
                                 ? utf8Of(pathFromUtf8(state_.document.currentFilePath).stem())
                                 : "config";
    auto path = services_.fileDialogs.saveFile(
        {"Export PDF", "PDF documents", "*.pdf", services_.folders.kym3815(), stem + ".pdf"});
    if (!path)
        return;
    if (path->extension().empty())
        path->replace_extension(".pdf");
    if (auto written = writeRecordPdf(recordHtmlNow(), *path); !written)
        services_.prompter.warn(utf8Of(*path) + ": " + written.error().reason);
}

// The size the user gave the window is kept for the next run; a maximized window keeps its
// size from before.
void FlexGrid::closeEvent(QCloseEvent* event) {
    if (!Form_Unload()) {
        event->ignore();
        return;
    }
    const QSize kept = isMaximized() || isFullScreen() ? normalGeometry().size() : size();
    settings_.write(kWindowSizeKey, {std::to_string(kept.width()), std::to_string(kept.height())});
    event->accept();
}

// Closing offers to save a changed document; a save the user asked for that did not happen keeps
// the window open.
bool FlexGrid::Form_Unload() {
    const bool mayClose = lifecycle_.closeRequested();
    showState();
    return mayClose;
}

} // namespace kym
