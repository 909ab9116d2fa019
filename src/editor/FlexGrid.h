#pragma once

#include "config/ProgramState.h"
#include "editor/DocumentLifecycle.h"
#include "editor/GridEditing.h"
#include "editor/RecentFiles.h"
#include "gateway/FtpClients.h"
#include "report/Comparison.h"
#include "transfer/SerialPorts.h"
#include "ui/Services.h"

#include <QMainWindow>
#include <map>
#include <optional>

class QAction;
class QComboBox;
class QDialog;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QMenu;
class QTimer;

namespace kym {

class RegisterGridView;
class TransmitterIdListModel;
class frmComparison;

// The main window: the register grid with its six drop-down editing boxes, the menus and the
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
    QAction* action(const QString& objectName) const;
    QComboBox* editBox(EditBox box) const;
    // Opens a file named from outside the window (the command line, a drop, Recent Files).
    void openFile(const std::filesystem::path& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
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
    void mnuNewConfig_Click();
    void mnuExtender_Click();
    void mnuTwoReceive_Click();
    void mnuFour_Control_Click();
    void mnuTwo_Control_Click();
    void MSFlexGrid1_Click();
    void MSFlexGrid1_KeyDown();
    void MSFlexGrid1_Scroll();
    void MSFlexGrid1_Delete();
    void mnuUndo_Click();
    void mnuRedo_Click();
    void ComboTransID_Click(int index);
    void ComboChannel_Click(int index);
    void ComboDataAnalog_Click(int index);
    void ComboDataDigital_Click(int index);
    void ComboStart_Click(int index);
    void ComboEnd_Click(int index);
    void ComboTransID_Change();
    void ComboChannel_Change();
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
    void Form_Load();
    void placeOnScreen();
    bool Form_Unload();
    void createMenus();
    void createGridContextMenu();
    void createEditBoxes();
    void connectHandlers();
    QAction* addEntry(QMenu* menu, const char* objectName, const QString& caption,
                      const QKeySequence& shortcut = {});
    void chooseDeviceType(std::string_view identifier);
    // Runs a dialog whose changes to the document make one undo step, named step.
    int runEditingDialog(QDialog& dialog, std::string step);
    // Shows the state: title, menus, grid visibility, which boxes may be opened.
    void showState();
    // Marks the cells and lists the settings in which the named file differs.
    void showComparison(const std::string& fileName, const ConfigurationDiff& diff);
    // A comparison made before the settings changed is stale; the entries need a document.
    void showComparisonState();
    std::string recordHtmlNow() const;

    void HideEditCombos();
    void FillTransmitterIDList();
    void FillDigitalFormatList();
    void FillAnalogFormatList();
    void FillStartList();
    void FillEndList();
    void fillRangeList(QComboBox* box, RangeEnd end);
    // Lays a box over the grid's current cell and shows the cell's text in it.
    void placeBox(QComboBox* box);
    void showBoxText(QComboBox* box, const QString& text);
    void pickDone(QComboBox* box);
    QComboBox* visibleBox() const;

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
    QMenu* mnuFile_ = nullptr;
    QMenu* mnuRecentFiles_ = nullptr;
    QMenu* mnuComm_ = nullptr;
    QMenu* mnuCompatibility_ = nullptr;
    QMenu* mnuGridContext_ = nullptr;
    std::map<QString, QAction*> actions_;

    QComboBox* ComboTransID_ = nullptr;
    QComboBox* ComboChannel_ = nullptr;
    QComboBox* ComboDataAnalog_ = nullptr;
    QComboBox* ComboDataDigital_ = nullptr;
    QComboBox* ComboStart_ = nullptr;
    QComboBox* ComboEnd_ = nullptr;
    TransmitterIdListModel* transmitterIds_ = nullptr;
    QTimer* Timer1_ = nullptr;
    frmComparison* comparison_ = nullptr;
    std::optional<HeaderSettings> comparedHeader_; // our settings when the comparison was made
};

} // namespace kym
