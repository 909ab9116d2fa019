#pragma once

#include "config/DeviceTypes.h"
#include "config/ProgramState.h"
#include "editor/DocumentLifecycle.h"
#include "editor/GridEditing.h"
#include "editor/RecentFiles.h"
#include "gateway/FtpClients.h"
#include "report/Comparison.h"
#include "transfer/SerialPorts.h"
#include "ui/Services.h"

#include <QMainWindow>
#include <array>

class QAction;
class QDialog;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QMenu;
class QTimer;

namespace kym {

class CellEditors;
class ComparisonDisplay;
class RegisterGridView;

// The main window: the register grid with its drop-down editing boxes, the menus and the
// document lifecycle. Handlers translate events into lifecycle and editing operations and then
// show the state.
class FlexGrid : public QMainWindow {
    Q_OBJECT
public:
    // The transfer window programs units through ports that serialPorts makes, the FTP dialog
    // reaches the gateway through clients that ftpClients makes; settings keeps the recent files
    // and the window's size.
    FlexGrid(ProgramState& state, Services services, SettingsStore& settings,
             SerialPortFactory serialPorts = systemSerialPorts(),
             FtpClientFactory ftpClients = systemFtpClients(), QWidget* parent = nullptr);

    RegisterGridView* MSFlexGrid1() const { return grid_; }
    const CellEditors& cellEditors() const { return *editors_; }
    // Opens a file named from outside the window (the command line, a drop, Recent Files).
    void openFile(const std::filesystem::path& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private Q_SLOTS:
    void mnuNewGatewayConfig_Click();
    void mnuOpenConfig_Click();
    void mnuRegistersSave_Click();
    void mnuRegistersSaveAs_Click();
    void mnuFileTransfer_Click();
    void mnuProgrammingRecord_Click();
    void mnuFileExit_Click();
    void mnuMiscellaneous_Click();
    // An entry of the device-type menu (mnuNewConfig, mnuExtender, ...) chose its type.
    void mnuCompatibility_Click(std::string_view identifier);
    void MSFlexGrid1_Click();
    void MSFlexGrid1_KeyDown();
    void MSFlexGrid1_Scroll();
    void MSFlexGrid1_Delete();
    void MSFlexGrid1_MenuKey();
    void mnuUndo_Click();
    void mnuRedo_Click();
    // ComboTransID_Click, ComboChannel_Click, ComboDataAnalog_Click, ComboDataDigital_Click,
    // ComboStart_Click, ComboEnd_Click: an entry of the box over the clicked cell was picked.
    void Combo_Click(EditBox box, int index);
    // ComboTransID_Change, ComboChannel_Change: the box's text was typed into.
    void Combo_Change();
    void Timer1_Timer();
    void MSFlexGrid1_ContextMenu(const QPoint& globalPos);
    void mnuSetpointRange_Click();
    void mnuGatewayIP_Click();
    void mnuGatewayUnitId_Click();
    void mnuGatewayProperties_Click();
    void mnuGatewayFTP_Click();
    void mnuRecentFiles_Show();
    void mnuRecentFiles_Click(QAction* entry);
    void mnuUserGuide_Click();
    void mnuAbout_Click();
    void mnuCompareWith_Click();
    void mnuClearComparison_Click();
    void mnuPrint_Click();
    void mnuExportPdf_Click();

private:
    struct MenuEntry;
    struct Menu;
    static const std::vector<Menu>& menuTable();

    void Form_Load();
    void placeOnScreen();
    bool Form_Unload();
    void createMenus();
    void connectHandlers();
    // Runs a dialog whose changes to the document make one undo step, named step; okMark says
    // whether its OK marks the document also when it changed nothing.
    int runEditingDialog(QDialog& dialog, std::string step,
                         EditHistory::Mark okMark = EditHistory::Mark::IfChanged);
    // Shows the state: title, menus, grid visibility, which boxes may be opened.
    void showState();
    std::string recordHtmlNow() const;
    void pickDone(EditBox box);

    ProgramState& state_;
    Services services_;
    SettingsStore& settings_;
    RecentFiles recentFiles_;
    SerialPortFactory serialPorts_;
    FtpClientFactory ftpClients_;
    DocumentLifecycle lifecycle_;
    GridEditing editing_;
    RegisterGridView* grid_ = nullptr;
    QLabel* emptyHint_ = nullptr;
    CellEditors* editors_ = nullptr;
    QTimer* Timer1_ = nullptr;
    ComparisonDisplay* comparison_ = nullptr;

    QMenu* mnuFile_ = nullptr;
    QMenu* mnuRecentFiles_ = nullptr;
    QMenu* mnuEdit_ = nullptr;
    QMenu* mnuComm_ = nullptr;
    QMenu* mnuCompatibility_ = nullptr;
    QMenu* mnuGateway_ = nullptr;
    QMenu* mnuHelp_ = nullptr;
    QMenu* mnuGridContext_ = nullptr;
    QAction* mnuNewGatewayConfig_ = nullptr;
    QAction* mnuOpenConfig_ = nullptr;
    QAction* mnuRegistersSave_ = nullptr;
    QAction* mnuRegistersSaveAs_ = nullptr;
    QAction* mnuFileTransfer_ = nullptr;
    QAction* mnuProgrammingRecord_ = nullptr;
    QAction* mnuCompareWith_ = nullptr;
    QAction* mnuClearComparison_ = nullptr;
    QAction* mnuPrint_ = nullptr;
    QAction* mnuExportPdf_ = nullptr;
    QAction* mnuFileExit_ = nullptr;
    QAction* mnuUndo_ = nullptr;
    QAction* mnuRedo_ = nullptr;
    QAction* mnuMiscellaneous_ = nullptr;
    QAction* mnuGatewayIP_ = nullptr;
    QAction* mnuGatewayUnitId_ = nullptr;
    QAction* mnuGatewayProperties_ = nullptr;
    QAction* mnuGatewayFTP_ = nullptr;
    QAction* mnuUserGuide_ = nullptr;
    QAction* mnuAbout_ = nullptr;
    QAction* mnuSetpointRange_ = nullptr;
    QAction* mnuGridContextKeys_ = nullptr;  // Menu key and Shift+F10 on the grid
    QAction* mnuClearRecentFiles_ = nullptr; // remade with the recent files at every opening
    std::array<QAction*, kDeviceTypes.size()> deviceTypeEntries_{}; // as kDeviceTypes lists them
};

} // namespace kym
