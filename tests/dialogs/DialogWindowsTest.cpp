#include "config/DeviceTypes.h"
#include "editor/RegisterGridView.h"
#include "support/Controls.h"
#include "support/MainWindowHarness.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace kym {
namespace {

using test::child;

// Cancel stores nothing; OK stores, marks the title and keeps the dialog open on a value the
// unit cannot take. Every OK is an undo step, also one that changed nothing, so that Ctrl+Z takes
// its mark back.
TEST(DialogWindows, OptionsFromTheSettingsMenu) {
    test::MainWindowHarness main;
    enum { Cancel, Change, Keep } how = Cancel;
    main.drive = [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle().toStdString(), "Options");
        if (how == Keep) {
            child<QPushButton>(dialog, "btnOK").click();
            return;
        }
        if (how == Cancel) {
            EXPECT_GT(test::expectNamedControls(dialog), 20);
        }
        child<QComboBox>(dialog, "cboNetworkID").setEditText(QStringLiteral("1\n2"));
        if (how == Cancel) {
            child<QPushButton>(dialog, "btnCancel").click();
            return;
        }
        child<QComboBox>(dialog, "cboCaptureTime").setEditText(QStringLiteral("300"));
        child<QPushButton>(dialog, "btnOK").click();
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        child<QComboBox>(dialog, "cboCaptureTime").setEditText(QStringLiteral("3"));
        child<QPushButton>(dialog, "btnOK").click();
    };
    const auto options = [&](auto mode) {
        return [&, mode] {
            how = mode;
            main.trigger("mnuMiscellaneous");
        };
    };
    const auto save = [&] {
        main.dialogs.choices = {main.configFile("o.vlt")};
        main.trigger("mnuRegistersSave");
    };
    const struct {
        const char* name;
        std::function<void()> act;
        std::string shown; // title, network ID, capture time and vendor code
        std::string undo;
    } steps[] = {
        {"Cancel", options(Cancel), "Editor - |1 0 171", "Undo"},
        {"OK", options(Change), "Editor -  *|12 3 0171", "Undo Options"},
        {"undo", [&] { main.trigger("mnuUndo"); }, "Editor - |1 0 171", "Undo"},
        {"redo and save",
         [&] {
             main.trigger("mnuRedo");
             save();
         },
         "Editor - o.vlt|12 3 0171", "Undo Options"},
        {"OK without a change", options(Keep), "Editor - o.vlt *|12 3 0171", "Undo Options"},
        {"undo to the save", [&] { main.trigger("mnuUndo"); }, "Editor - o.vlt|12 3 0171",
         "Undo Options"},
    };
    main.newDocument("mnuNewConfig");
    const HeaderSettings& header = main.state.header;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        EXPECT_EQ(main.title() + "|" + header.networkID + " " + header.captureValue + " " +
                      header.vendorCode,
                  step.shown);
        EXPECT_EQ(main.action("mnuUndo")->text().toStdString(), step.undo);
    }
    EXPECT_EQ(main.prompter.texts(),
              std::vector<std::string>{"The digital capture time must be a number from 0 to 255."});
}

// The context menu of a setpoint row opens the dialog over the row's band; OK writes the four
// texts, typed ones as they stand, and Cancel nothing.
TEST(DialogWindows, SetpointRangeFromTheGridsContextMenu) {
    test::MainWindowHarness main;
    const auto path = main.configFile("reset.vlt");
    test::writeFile(path, "DEVICE_TYPE\r\nKYM3815\r\nCOLUMN_NAMES\r\n5\r\n\r\nROW_DATA\r\n4\r\n"
                          ",,,10,,;\r\n,,RESET_TEMP,20,,;\r\n,,,150,,;\r\n,,,160,,;\r\n");
    main.dialogs.choices = {path};
    main.trigger("mnuOpenConfig");
    main.window.show();

    RegisterGridView* grid = main.window.MSFlexGrid1();
    const QRect cell = grid->visualRect(grid->model()->index(1, kColDataFormat - 1));
    QContextMenuEvent menu(QContextMenuEvent::Mouse, cell.center(),
                           grid->viewport()->mapToGlobal(cell.center()));
    QCoreApplication::sendEvent(grid->viewport(), &menu);
    EXPECT_EQ(main.state.grid.row(), 2);

    std::string opened;
    main.drive = [&](QDialog& dialog) {
        opened = dialog.windowTitle().toStdString();
        EXPECT_GT(test::expectNamedControls(dialog), 20);
        auto* slider = &child<QSlider>(dialog, "SliderHighInput");
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_Right); // one small change: 2 on a 0-180 slider
        EXPECT_EQ(child<QLineEdit>(dialog, "TextHighInput").text().toStdString(), "152");
        auto* typed = &child<QLineEdit>(dialog, "TextHighSetpoint");
        typed->setFocus();
        typed->selectAll();
        QTest::keyClicks(typed, QStringLiteral("abc"));
        child<QPushButton>(dialog, "CommandOK").click();
    };
    main.trigger("mnuSetpointRange");
    EXPECT_EQ(opened, "Temperature Input Reset");
    const auto cells = [&] {
        std::string texts;
        for (int row = 1; row <= 4; ++row)
            texts += main.state.grid.cell(row, kColRangeStart) + " ";
        return texts;
    };
    EXPECT_EQ(cells(), "10 20 152 abc ");
    EXPECT_EQ(main.title(), "Editor - reset.vlt *");
    QAction* undo = main.action("mnuUndo");
    EXPECT_EQ(undo->text().toStdString(), "Undo Setpoint Range");
    main.trigger("mnuUndo");

    // Neither Cancel nor an OK that changes nothing is a step or a mark.
    for (const std::string button : {"", "CommandCancel", "CommandOK"}) {
        SCOPED_TRACE(button);
        if (!button.empty()) {
            opened.clear();
            main.drive = [&](QDialog& dialog) {
                opened = dialog.windowTitle().toStdString();
                if (button == "CommandCancel")
                    child<QLineEdit>(dialog, "TextLowInput").setText(QStringLiteral("99"));
                child<QPushButton>(dialog, button.c_str()).click();
            };
            main.state.grid.setRow(2);
            main.state.grid.setCol(kColDataFormat);
            main.trigger("mnuSetpointRange");
            EXPECT_EQ(opened, "Temperature Input Reset");
        }
        EXPECT_EQ(cells(), "10 20 150 160 ");
        EXPECT_EQ(main.title(), "Editor - reset.vlt");
        EXPECT_EQ(undo->text().toStdString(), "Undo");
    }
}

} // namespace
} // namespace kym
