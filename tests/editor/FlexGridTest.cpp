#include "config/DeviceTypes.h"
#include "editor/FlexGrid.h"
#include "editor/RegisterGridView.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

namespace kym {
namespace {

using Answer = Prompter::Answer;

class MainWindow : public testing::Test {
protected:
    MainWindow()
        : window(state, Services{prompter, dialogs, [](QDialog&) { return 0; }, Folders(dir / "kym")}) {}

    void trigger(const char* name) {
        QAction* entry = window.action(QString::fromLatin1(name));
        ASSERT_NE(entry, nullptr) << name;
        entry->trigger();
    }
    QMenu* menu(const char* name) { return window.findChild<QMenu*>(QString::fromLatin1(name)); }

    test::TempDir dir;
    ProgramState state;
    test::ScriptedPrompter prompter;
    test::ScriptedFileDialogs dialogs;
    FlexGrid window;
};

TEST_F(MainWindow, MenusCarryTheirNamesCaptionsAndShortcuts) {
    struct Entry {
        const char* name;
        const char* caption;
        const char* shortcut;
    };
    const Entry entries[] = {
        {"mnuNewGatewayConfig", "New", "Ctrl+N"},
        {"mnuOpenConfig", "Open", "Ctrl+O"},
        {"mnuRegistersSave", "Save", "Ctrl+S"},
        {"mnuRegistersSaveAs", "Save As", "Ctrl+Shift+S"},
        {"mnuFileTransfer", "&File Transfer", ""},
        {"mnuFileExit", "E&xit", "Ctrl+Q"},
        {"mnuMiscellaneous", "Miscellaneous", ""},
        {"mnuNewConfig", "QR3815/4815(4-AO 4-DO)", ""},
        {"mnuExtender", "QR4815+QX4815(4-AO 4-DO)", ""},
        {"mnuTwoReceive", "QR4805(2-DO)", ""},
        {"mnuFour_Control", "QD4815(4-AO 4-DO)", ""},
        {"mnuTwo_Control", "QD4805(2-DO)", ""},
    };
    for (const auto& e : entries) {
        const QAction* entry = window.action(QString::fromLatin1(e.name));
        ASSERT_NE(entry, nullptr) << e.name;
        EXPECT_EQ(entry->text().toStdString(), e.caption);
        EXPECT_EQ(entry->shortcut().toString().toStdString(), e.shortcut) << e.name;
    }
    for (const char* separator : {"M3", "Bar1", "Bar2"})
        EXPECT_TRUE(window.action(QString::fromLatin1(separator))->isSeparator());
    EXPECT_EQ(menu("mnuFile")->title().toStdString(), "&File");
    EXPECT_EQ(menu("mnuComm")->title().toStdString(), "&Settings");
    EXPECT_EQ(menu("mnuCompatibility")->title().toStdString(), "&DeviceType");
}

TEST_F(MainWindow, StartsWithTheDesignCaptionNoGridAndSettingsDisabled) {
    EXPECT_EQ(window.windowTitle().toStdString(), "KYM4815/3815 Configuration Tool");
    EXPECT_FALSE(menu("mnuComm")->isEnabled());
    EXPECT_FALSE(window.MSFlexGrid1()->isVisibleTo(&window));
    EXPECT_EQ(window.MSFlexGrid1()->objectName().toStdString(), "MSFlexGrid1");
}

TEST_F(MainWindow, DeviceTypeChoiceAndNewShowTheLaidOutGrid) {
    trigger("mnuTwoReceive");
    EXPECT_TRUE(window.action(QStringLiteral("mnuTwoReceive"))->isChecked());
    EXPECT_FALSE(window.action(QStringLiteral("mnuNewConfig"))->isChecked());
    EXPECT_EQ(menu("mnuCompatibility")->title().toStdString(), "&Compatibility(QR4805)");
    trigger("mnuNewGatewayConfig");

    RegisterGridView* grid = window.MSFlexGrid1();
    EXPECT_TRUE(grid->isVisibleTo(&window));
    EXPECT_TRUE(menu("mnuComm")->isEnabled());
    EXPECT_EQ(window.windowTitle().toStdString(), "Editor - ");
    for (int row = 0; row < 8; ++row)
        EXPECT_EQ(grid->isRowHidden(row), row != 4 && row != 5) << row;
    EXPECT_EQ(grid->model()->headerData(4, Qt::Vertical).toString().toStdString(), "DIGITAL");
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString().toStdString(),
              "TRANSMITTER ID");
    EXPECT_EQ(grid->columnWidth(0), grid->twipsToPixels(2200));
    EXPECT_EQ(grid->verticalHeader()->width(), grid->twipsToPixels(900));
}

TEST_F(MainWindow, AChangedDocumentShowsTheMarkAndClosingCanBeCancelled) {
    trigger("mnuNewConfig");
    trigger("mnuNewGatewayConfig");
    state.grid.setRow(1);
    state.grid.setCol(1);
    state.grid.setText("12");
    EXPECT_EQ(window.MSFlexGrid1()->model()->index(0, 0).data().toString().toStdString(), "12");

    prompter.answers = {Answer::Yes};
    dialogs.choices = {std::nullopt};
    state.document.documentChanged = true;
    EXPECT_FALSE(window.close());
    EXPECT_EQ(prompter.texts().back(), std::string(prompt::kSaveChangesUpper));

    prompter.answers = {Answer::No};
    EXPECT_TRUE(window.close());
}

TEST_F(MainWindow, ControlVariantEntriesFollowTheLoadedFileType) {
    const auto path = dir / "kym" / "kym3815" / "f.vlt";
    test::writeFile(path, "DEVICE_TYPE\r\nQD4805\r\nFILE_TYPE\r\nFIELD\r\n");
    dialogs.choices = {path};
    trigger("mnuOpenConfig");
    EXPECT_FALSE(window.action(QStringLiteral("mnuTwo_Control"))->isVisible());
    EXPECT_FALSE(window.action(QStringLiteral("mnuFour_Control"))->isVisible());
    EXPECT_TRUE(window.action(QStringLiteral("mnuTwo_Control"))->isChecked());
    EXPECT_EQ(window.windowTitle().toStdString(), "Editor - f.vlt");
}

} // namespace
} // namespace kym
