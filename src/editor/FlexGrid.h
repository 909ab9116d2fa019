#pragma once

#include "config/ProgramState.h"
#include "editor/DocumentLifecycle.h"
#include "ui/Services.h"

#include <QMainWindow>
#include <map>

class QAction;
class QLabel;
class QMenu;

namespace kym {

class RegisterGridView;

// The main window: the register grid, the menus and the document lifecycle. Handlers translate
// menu commands into lifecycle operations and then show the state.
class FlexGrid : public QMainWindow {
    Q_OBJECT
public:
    FlexGrid(ProgramState& state, Services services, QWidget* parent = nullptr);

    RegisterGridView* MSFlexGrid1() const { return grid_; }
    QAction* action(const QString& objectName) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private Q_SLOTS:
    void mnuNewGatewayConfig_Click();
    void mnuOpenConfig_Click();
    void mnuRegistersSave_Click();
    void mnuRegistersSaveAs_Click();
    void mnuFileTransfer_Click();
    void mnuFileExit_Click();
    void mnuMiscellaneous_Click();
    void mnuNewConfig_Click();
    void mnuExtender_Click();
    void mnuTwoReceive_Click();
    void mnuFour_Control_Click();
    void mnuTwo_Control_Click();
    void mnuGatewayIP_Click();
    void mnuGatewayUnitID_Click();
    void mnuGatewayProperties_Click();
    void mnuGatewayFTP_Click();

private:
    void Form_Load();
    void createMenus();
    void connectHandlers();
    QAction* addEntry(QMenu* menu, const char* objectName, const QString& caption,
                      const QKeySequence& shortcut = {});
    void chooseDeviceType(std::string_view identifier);
    // Shows the state: title, menus, grid visibility.
    void showState();

    ProgramState& state_;
    Services services_;
    DocumentLifecycle lifecycle_;
    RegisterGridView* grid_ = nullptr;
    QLabel* emptyHint_ = nullptr;
    QMenu* mnuFile_ = nullptr;
    QMenu* mnuComm_ = nullptr;
    QMenu* mnuCompatibility_ = nullptr;
    std::map<QString, QAction*> actions_;
};

} // namespace kym
