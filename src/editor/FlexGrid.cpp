#include "editor/FlexGrid.h"

#include "config/Paths.h"
#include "config/Version.h"
#include "dialogs/frmMisc.h"
#include "dialogs/frmRESET.h"
#include "editor/CellEditors.h"
#include "editor/RegisterGridView.h"
#include "editor/ViewState.h"
#include "editor/WindowPlacement.h"
#include "gateway/frmFTP.h"
#include "gateway/frmIPaddress.h"
#include "gateway/frmProperties.h"
#include "gateway/frmUnitID.h"
#include "report/ComparisonDisplay.h"
#include "report/Record.h"
#include "report/RecordPdf.h"
#include "transfer/frmRecord.h"
#include "transfer/frmTransfer.h"
#include "ui/Text.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDropEvent>
#include <QLabel>
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
            return pathFromUtf8(url.toLocalFile().toStdString());
    return std::nullopt;
}

// The installed guide, else the one in the source tree of a build-tree run.
std::optional<std::filesystem::path> userGuide() {
    const std::filesystem::path program =
        pathFromUtf8(QCoreApplication::applicationDirPath().toStdString());
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

struct FlexGrid::MenuEntry {
    const char* objectName;
    const char* caption; // "-" for a separator
    QList<QKeySequence> shortcuts = {};
    QAction* FlexGrid::*action = nullptr;
    void (FlexGrid::*handler)() = nullptr;
    QMenu* FlexGrid::*submenu = nullptr; // an entry that opens a menu of its own
};

struct FlexGrid::Menu {
    const char* objectName;
    const char* title;
    QMenu* FlexGrid::*menu;
    bool popup; // a context menu, its title the accessible name
    std::vector<MenuEntry> entries;
};

// The entries of the device-type menu come from kDeviceTypes.
const std::vector<FlexGrid::Menu>& FlexGrid::menuTable() {
    using F = FlexGrid;
    // clang-format off
    static const std::vector<Menu> menus{
        {"mnuFile", "&File", &F::mnuFile_, false, {
            {"mnuNewGatewayConfig", "New", {QKeySequence::New},
             &F::mnuNewGatewayConfig_, &F::mnuNewGatewayConfig_Click},
            {"mnuOpenConfig", "Open", {QKeySequence::Open},
             &F::mnuOpenConfig_, &F::mnuOpenConfig_Click},
            {"mnuRecentFiles", "Recent Files", {}, nullptr, nullptr, &F::mnuRecentFiles_},
            {"M3", "-"},
            {"mnuRegistersSave", "Save", {QKeySequence::Save},
             &F::mnuRegistersSave_, &F::mnuRegistersSave_Click},
            {"mnuRegistersSaveAs", "Save As", {Qt::CTRL | Qt::SHIFT | Qt::Key_S},
             &F::mnuRegistersSaveAs_, &F::mnuRegistersSaveAs_Click},
            {"Bar1", "-"},
            {"mnuFileTransfer", "&File Transfer", {},
             &F::mnuFileTransfer_, &F::mnuFileTransfer_Click},
            {"mnuProgrammingRecord", "Programming &Record...", {},
             &F::mnuProgrammingRecord_, &F::mnuProgrammingRecord_Click},
            {"BarCompare", "-"},
            {"mnuCompareWith", "Compare With...", {Qt::CTRL | Qt::Key_D},
             &F::mnuCompareWith_, &F::mnuCompareWith_Click},
            {"mnuClearComparison", "Clear Comparison", {Qt::CTRL | Qt::SHIFT | Qt::Key_D},
             &F::mnuClearComparison_, &F::mnuClearComparison_Click},
            {"mnuPrint", "Print...", {QKeySequence::Print}, &F::mnuPrint_, &F::mnuPrint_Click},
            {"mnuExportPdf", "Export PDF...", {Qt::CTRL | Qt::Key_E},
             &F::mnuExportPdf_, &F::mnuExportPdf_Click},
            {"Bar2", "-"},
            {"mnuFileExit", "E&xit", {Qt::CTRL | Qt::Key_Q},
             &F::mnuFileExit_, &F::mnuFileExit_Click},
        }},
        {"mnuEdit", "&Edit", &F::mnuEdit_, false, {
            {"mnuUndo", "Undo", {Qt::CTRL | Qt::Key_Z}, &F::mnuUndo_, &F::mnuUndo_Click},
            {"mnuRedo", "Redo", {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y},
             &F::mnuRedo_, &F::mnuRedo_Click},
        }},
        {"mnuComm", "&Settings", &F::mnuComm_, false, {
            {"mnuMiscellaneous", "Miscellaneous", {},
             &F::mnuMiscellaneous_, &F::mnuMiscellaneous_Click},
        }},
        {"mnuCompatibility", "&DeviceType", &F::mnuCompatibility_, false, {}},
        {"mnuGateway", "&Gateway", &F::mnuGateway_, false, {
            {"mnuGatewayIP", "IP Address...", {}, &F::mnuGatewayIP_, &F::mnuGatewayIP_Click},
            {"mnuGatewayUnitId", "Unit ID...", {},
             &F::mnuGatewayUnitId_, &F::mnuGatewayUnitId_Click},
            {"mnuGatewayProperties", "Serial Properties...", {},
             &F::mnuGatewayProperties_, &F::mnuGatewayProperties_Click},
            {"mnuGatewayFTP", "FTP Transfer...", {}, &F::mnuGatewayFTP_, &F::mnuGatewayFTP_Click},
        }},
        {"mnuHelp", "&Help", &F::mnuHelp_, false, {
            {"mnuUserGuide", "User Guide", {QKeySequence::HelpContents},
             &F::mnuUserGuide_, &F::mnuUserGuide_Click},
            {"mnuAbout", "About", {}, &F::mnuAbout_, &F::mnuAbout_Click},
        }},
        // A top-level popup of the window, as the menu bar's menus are, so that assistive tools
        // announce it.
        {"mnuGridContext", "Grid Cell", &F::mnuGridContext_, true, {
            {"mnuSetpointRange", "Setpoint Range...", {},
             &F::mnuSetpointRange_, &F::mnuSetpointRange_Click},
        }},
    };
    // clang-format on
    return menus;
}

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
    // Tall enough for the tallest layout where the screen allows (placeOnScreen).
    resize(grid_->twipsToPixels(900 + 5 * 2200) + 40,
           grid_->twipsToPixels(360 * kMostGridRows) + 60);
    setAcceptDrops(true);

    createMenus();
    editors_ = new CellEditors(*grid_, editing_, services_.prompter, this);
    comparison_ = new ComparisonDisplay(
        state_, services_,
        {[this](ComparisonDisplay::CellMarks marks) { grid_->setMarks(std::move(marks)); },
         [this] { grid_->clearMarks(); }},
        *mnuClearComparison_, *this);
    Timer1_ = new QTimer(this);
    Timer1_->setSingleShot(true);
    Timer1_->setInterval(1);
    lifecycle_.setHideEditCombos([this] { editors_->HideEditCombos(); });
    connectHandlers();
    Form_Load();
}

void FlexGrid::Form_Load() {
    lifecycle_.startUp();
    placeOnScreen();
    editors_->HideEditCombos();
    editors_->fillLoadLists();
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

void FlexGrid::createMenus() {
    for (const Menu& menuRow : menuTable()) {
        const QString title = toQt(menuRow.title);
        QMenu* menu = menuRow.popup ? new QMenu(this) : menuBar()->addMenu(title);
        if (menuRow.popup)
            menu->setAccessibleName(title);
        menu->setObjectName(toQt(menuRow.objectName));
        this->*menuRow.menu = menu;
        for (const MenuEntry& entry : menuRow.entries) {
            const QString caption = toQt(entry.caption);
            if (entry.submenu) {
                this->*entry.submenu = menu->addMenu(caption);
                (this->*entry.submenu)->setObjectName(toQt(entry.objectName));
                continue;
            }
            QAction* action =
                caption == QStringLiteral("-") ? menu->addSeparator() : menu->addAction(caption);
            action->setObjectName(toQt(entry.objectName));
            action->setShortcuts(entry.shortcuts);
            if (entry.action)
                this->*entry.action = action;
        }
    }
    for (std::size_t i = 0; i < kDeviceTypes.size(); ++i) {
        QAction* entry = mnuCompatibility_->addAction(toQt(kDeviceTypes[i].caption));
        entry->setObjectName(toQt(kDeviceTypes[i].menuControl));
        entry->setCheckable(true);
        deviceTypeEntries_[i] = entry;
    }
    // The Menu key and Shift+F10 open the grid's menu on its current cell.
    mnuGridContextKeys_ = new QAction(grid_);
    mnuGridContextKeys_->setObjectName(QStringLiteral("mnuGridContextKeys"));
    mnuGridContextKeys_->setShortcuts(
        {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)});
    mnuGridContextKeys_->setShortcutContext(Qt::WidgetShortcut);
    grid_->addAction(mnuGridContextKeys_);
}

// Every handler is connected here and nowhere else.
void FlexGrid::connectHandlers() {
    for (const Menu& menu : menuTable())
        for (const MenuEntry& entry : menu.entries)
            if (entry.handler)
                connect(this->*entry.action, &QAction::triggered, this, entry.handler);
    for (std::size_t i = 0; i < kDeviceTypes.size(); ++i)
        connect(deviceTypeEntries_[i], &QAction::triggered, this,
                [this, identifier = kDeviceTypes[i].identifier] {
                    mnuCompatibility_Click(identifier);
                });
    connect(grid_, &RegisterGridView::marksCleared, comparison_, &ComparisonDisplay::clear);
    connect(mnuRecentFiles_, &QMenu::aboutToShow, this, &FlexGrid::mnuRecentFiles_Show);
    connect(mnuRecentFiles_, &QMenu::triggered, this, &FlexGrid::mnuRecentFiles_Click);
    lifecycle_.setFileUsed([this](const std::string& path) { recentFiles_.add(path); });

    connect(grid_, &RegisterGridView::cellClicked, this, &FlexGrid::MSFlexGrid1_Click);
    connect(grid_, &RegisterGridView::cellActivated, this, &FlexGrid::MSFlexGrid1_KeyDown);
    connect(grid_, &RegisterGridView::scrolled, this, &FlexGrid::MSFlexGrid1_Scroll);
    connect(grid_, &RegisterGridView::clearRequested, this, &FlexGrid::MSFlexGrid1_Delete);
    connect(grid_, &RegisterGridView::cellMenuRequested, this, &FlexGrid::MSFlexGrid1_ContextMenu);
    connect(mnuGridContextKeys_, &QAction::triggered, this, &FlexGrid::MSFlexGrid1_MenuKey);
    connect(editors_, &CellEditors::picked, this, &FlexGrid::Combo_Click);
    connect(editors_, &CellEditors::typedInto, this, &FlexGrid::Combo_Change);
    connect(Timer1_, &QTimer::timeout, this, &FlexGrid::Timer1_Timer);
}

void FlexGrid::showState() {
    const ViewState view = viewStateOf(state_, lifecycle_.history());
    setWindowTitle(toQt(view.title));
    mnuComm_->setEnabled(view.settingsEnabled);
    mnuCompatibility_->setTitle(toQt(view.compatibilityCaption));
    for (std::size_t i = 0; i < kDeviceTypes.size(); ++i) {
        const DeviceTraits& type = kDeviceTypes[i];
        deviceTypeEntries_[i]->setChecked(view.checkedDeviceType == type.identifier);
        deviceTypeEntries_[i]->setVisible(!type.controlVariant || view.controlVariantsVisible);
    }
    grid_->setVisible(state_.gridVisible);
    emptyHint_->setVisible(!state_.gridVisible);
    editors_->enable(view.boxes);
    const EditHistory& history = lifecycle_.history();
    const auto showStep = [](QAction* entry, const QString& verb, const std::string& step) {
        entry->setText(step.empty() ? verb : verb + QLatin1Char(' ') + toQt(step));
        entry->setEnabled(!step.empty());
    };
    showStep(mnuUndo_, QStringLiteral("Undo"), history.undoName());
    showStep(mnuRedo_, QStringLiteral("Redo"), history.redoName());
    const bool document = documentExists(state_);
    for (QAction* entry : {mnuCompareWith_, mnuPrint_, mnuExportPdf_})
        entry->setEnabled(document);
    comparison_->showState();
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
    mnuClearRecentFiles_ = mnuRecentFiles_->addAction(QStringLiteral("Clear Recent Files"));
    mnuClearRecentFiles_->setObjectName(QStringLiteral("mnuClearRecentFiles"));
    mnuClearRecentFiles_->setEnabled(!recentFiles_.paths().empty());
}

void FlexGrid::mnuRecentFiles_Click(QAction* entry) {
    if (entry == mnuClearRecentFiles_) {
        recentFiles_.clear();
        return;
    }
    const std::string path = entry->data().toString().toStdString();
    std::error_code missing;
    if (!std::filesystem::exists(pathFromUtf8(path), missing)) {
        services_.prompter.warn(path + " no longer exists; it is removed from the recent files.");
        recentFiles_.remove(path);
        return;
    }
    openFile(pathFromUtf8(path));
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
    runEditingDialog(dialog, "Options", EditHistory::Mark::Always);
    showState();
}

int FlexGrid::runEditingDialog(QDialog& dialog, std::string step, EditHistory::Mark okMark) {
    DocumentSnapshot before = lifecycle_.history().snapshot();
    const int result = services_.runDialog(dialog);
    lifecycle_.history().record(std::move(step), std::move(before),
                                result == QDialog::Accepted ? okMark
                                                            : EditHistory::Mark::IfChanged);
    return result;
}

void FlexGrid::mnuCompatibility_Click(std::string_view identifier) {
    lifecycle_.chooseDeviceType(identifier);
    showState();
}

void FlexGrid::MSFlexGrid1_Click() {
    const EditBox box = editing_.clicked();
    editors_->HideEditCombos();
    if (box != EditBox::None) {
        const std::string previousText = editors_->place(box, fileTextToQt(state_.grid.text()));
        editing_.placed(box, previousText);
    }
    showState();
}

// From the keyboard an edit is a click that also opens the box's list.
void FlexGrid::MSFlexGrid1_KeyDown() {
    MSFlexGrid1_Click();
    editors_->openShownBox();
}

void FlexGrid::MSFlexGrid1_Scroll() {
    editors_->HideEditCombos();
}

void FlexGrid::MSFlexGrid1_Delete() {
    editors_->HideEditCombos();
    editing_.cleared();
    showState();
}

void FlexGrid::MSFlexGrid1_MenuKey() {
    QContextMenuEvent fromKeys(QContextMenuEvent::Keyboard, QPoint(), QPoint());
    QCoreApplication::sendEvent(grid_, &fromKeys);
}

void FlexGrid::mnuUndo_Click() {
    editors_->HideEditCombos();
    lifecycle_.history().undo();
    showState();
}

void FlexGrid::mnuRedo_Click() {
    editors_->HideEditCombos();
    lifecycle_.history().redo();
    showState();
}

void FlexGrid::Combo_Click(EditBox box, int index) {
    const std::string text = fileTextFromQt(editors_->box(box)->itemText(index));
    if (box == EditBox::Start || box == EditBox::End) {
        const RangeVerdict verdict =
            editing_.pickedRange(box == EditBox::Start ? RangeEnd::Start : RangeEnd::End, text);
        if (!verdict.accepted)
            services_.prompter.inform(verdict.message);
    } else {
        editing_.picked(box, text);
    }
    pickDone(box);
}

void FlexGrid::Combo_Change() {
    editing_.textChanged();
    showState();
}

void FlexGrid::Timer1_Timer() {
    Timer1_->stop();
    editors_->FillTransmitterIDList();
}

// A controller row's DATA FORMAT cell offers the setpoint range dialog. A platform that turns
// the Menu key into a context-menu event as well finds the menu already open.
void FlexGrid::MSFlexGrid1_ContextMenu(const QPoint& globalPos) {
    editors_->HideEditCombos();
    if (editing_.offersSetpointRange() && !mnuGridContext_->isVisible())
        mnuGridContext_->popup(globalPos);
}

void FlexGrid::mnuSetpointRange_Click() {
    const auto target = editing_.beginSetpointRange();
    if (!target)
        return;
    frmRESET dialog(state_.grid, *target, this);
    runEditingDialog(dialog, "Setpoint Range");
    showState();
}

void FlexGrid::pickDone(EditBox box) {
    editors_->hide(box);
    showState();
    grid_->setFocus();
}

void FlexGrid::mnuGatewayIP_Click() {
    frmIPaddress dialog(state_, this);
    runEditingDialog(dialog, "IP Address", EditHistory::Mark::Always);
    showState();
}

void FlexGrid::mnuGatewayUnitId_Click() {
    frmUnitID dialog(state_, this);
    runEditingDialog(dialog, "Unit ID", EditHistory::Mark::Always);
    showState();
}

void FlexGrid::mnuGatewayProperties_Click() {
    frmProperties dialog(state_, services_.prompter, this);
    runEditingDialog(dialog, "Serial Properties", EditHistory::Mark::Always);
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
    QDesktopServices::openUrl(QUrl::fromLocalFile(toQt(utf8Of(*guide))));
}

void FlexGrid::mnuAbout_Click() {
    services_.prompter.inform(std::string(kDesignCaption) + "\n\nkymeditor " +
                              std::string(kVersion) + "\nQt " + qVersion() +
                              "\nLicence: " + std::string(kLicence) +
                              "\nkym folder: " + utf8Of(services_.folders.kym()));
}

void FlexGrid::mnuCompareWith_Click() {
    comparison_->compareWith();
    showState();
}

void FlexGrid::mnuClearComparison_Click() {
    comparison_->clear();
    showState();
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
