#include "editor/FlexGrid.h"

#include "config/DeviceTypes.h"
#include "editor/RegisterGridView.h"
#include "gateway/CurlFtpClient.h"
#include "gateway/frmFTP.h"
#include "gateway/frmIPaddress.h"
#include "gateway/frmProperties.h"
#include "gateway/frmUnitID.h"
#include "ui/Text.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>

namespace kym {

FlexGrid::FlexGrid(ProgramState& state, Services services, QWidget* parent)
    : QMainWindow(parent), state_(state), services_(std::move(services)),
      lifecycle_(state_, services_.prompter, services_.fileDialogs, services_.folders) {
    setObjectName(QStringLiteral("FlexGrid"));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    grid_ = new RegisterGridView(state_.grid, central);
    emptyHint_ = new QLabel(
        QStringLiteral("Choose a device type from the DeviceType menu, then File > New, "
                       "or open a register configuration with File > Open."),
        central);
    emptyHint_->setObjectName(QStringLiteral("lblNoDocument"));
    emptyHint_->setAlignment(Qt::AlignCenter);
    emptyHint_->setWordWrap(true);
    layout->addWidget(grid_);
    layout->addWidget(emptyHint_);
    setCentralWidget(central);
    resize(grid_->twipsToPixels(900 + 5 * 2200) + 40, grid_->twipsToPixels(300 * 11) + 60);

    createMenus();
    connectHandlers();
    Form_Load();
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
    showState();
}

QAction* FlexGrid::addEntry(QMenu* menu, const char* objectName, const QString& caption,
                            const QKeySequence& shortcut) {
    QAction* entry = caption == QStringLiteral("-") ? menu->addSeparator() : menu->addAction(caption);
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
    addEntry(mnuFile_, "mnuFileExit", QStringLiteral("E&xit"), QKeySequence(QStringLiteral("Ctrl+Q")));

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
    addEntry(mnuGateway, "mnuGatewayUnitID", QStringLiteral("Unit ID..."));
    addEntry(mnuGateway, "mnuGatewayProperties", QStringLiteral("Serial Properties..."));
    addEntry(mnuGateway, "mnuGatewayFTP", QStringLiteral("FTP Transfer..."));
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
    bind("mnuGatewayIP", &FlexGrid::mnuGatewayIP_Click);
    bind("mnuGatewayUnitID", &FlexGrid::mnuGatewayUnitID_Click);
    bind("mnuGatewayProperties", &FlexGrid::mnuGatewayProperties_Click);
    bind("mnuGatewayFTP", &FlexGrid::mnuGatewayFTP_Click);
}

void FlexGrid::showState() {
    setWindowTitle(toQt(state_.title));
    mnuComm_->setEnabled(state_.menus.settingsEnabled);
    mnuCompatibility_->setTitle(toQt(state_.menus.compatibilityCaption));
    for (const auto& type : kDeviceTypes) {
        QAction* entry = action(toQt(type.menuControl));
        entry->setChecked(state_.menus.checkedDeviceType == type.identifier);
    }
    action(QStringLiteral("mnuFour_Control"))->setVisible(state_.menus.controlVariantsVisible);
    action(QStringLiteral("mnuTwo_Control"))->setVisible(state_.menus.controlVariantsVisible);
    grid_->setVisible(state_.gridVisible);
    emptyHint_->setVisible(!state_.gridVisible);
}

void FlexGrid::mnuNewGatewayConfig_Click() {
    lifecycle_.New();
    showState();
}

void FlexGrid::mnuOpenConfig_Click() {
    lifecycle_.OpenDocument();
    showState();
}

void FlexGrid::mnuRegistersSave_Click() {
    lifecycle_.Save();
    showState();
}

void FlexGrid::mnuRegistersSaveAs_Click() {
    lifecycle_.SaveAs();
    showState();
}

void FlexGrid::mnuFileTransfer_Click() {
    lifecycle_.prepareFileTransfer();
    showState();
}

void FlexGrid::mnuFileExit_Click() {
    const bool mayClose = lifecycle_.exitRequested();
    showState();
    if (mayClose)
        close();
}

void FlexGrid::mnuMiscellaneous_Click() {
    lifecycle_.optionsReturned();
    showState();
}

void FlexGrid::chooseDeviceType(std::string_view identifier) {
    lifecycle_.chooseDeviceType(identifier);
    showState();
}

void FlexGrid::mnuNewConfig_Click() { chooseDeviceType(kKym3815); }
void FlexGrid::mnuExtender_Click() { chooseDeviceType(kQx4815); }
void FlexGrid::mnuTwoReceive_Click() { chooseDeviceType(kQr4805); }
void FlexGrid::mnuFour_Control_Click() { chooseDeviceType(kQd4815); }
void FlexGrid::mnuTwo_Control_Click() { chooseDeviceType(kQd4805); }

void FlexGrid::mnuGatewayIP_Click() {
    frmIPaddress dialog(state_, this);
    services_.runDialog(dialog);
    showState();
}

void FlexGrid::mnuGatewayUnitID_Click() {
    frmUnitID dialog(state_, this);
    services_.runDialog(dialog);
    lifecycle_.MarkChanged();
    showState();
}

void FlexGrid::mnuGatewayProperties_Click() {
    frmProperties dialog(state_, services_.prompter, this);
    services_.runDialog(dialog);
    showState();
}

void FlexGrid::mnuGatewayFTP_Click() {
    frmFTP dialog(state_, services_, std::make_unique<CurlFtpClient>(), this);
    services_.runDialog(dialog);
    showState();
}

// Form_Unload: closing offers to save a changed document; a save the user asked for that did
// not happen keeps the window open.
void FlexGrid::closeEvent(QCloseEvent* event) {
    const bool mayClose = lifecycle_.closeRequested();
    showState();
    if (mayClose)
        event->accept();
    else
        event->ignore();
}

} // namespace kym
