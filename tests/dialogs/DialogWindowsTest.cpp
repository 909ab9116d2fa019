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

// Every OK is an undo step, also one that changed nothing, so that Ctrl+Z takes its mark back.
TEST(DialogWindows, OptionsFromTheSettingsMenu) {
    test::MainWindowHarness main;
    enum How { Cancel, Change, Keep } how = Cancel;
    main.drive = [&](QDialog& dialog) {
        EXPECT_GT(test::expectNamedControls(dialog), 20);
        if (how != Keep)
            child<QComboBox>(dialog, "cboNetworkID").setEditText(QStringLiteral("1\n2"));
        if (how == Change) {
            child<QComboBox>(dialog, "cboCaptureTime").setEditText(QStringLiteral("300"));
            child<QPushButton>(dialog, "btnOK").click();
            EXPECT_NE(dialog.result(), QDialog::Accepted);
            child<QComboBox>(dialog, "cboCaptureTime").setEditText(QStringLiteral("3"));
        }
        child<QPushButton>(dialog, how == Cancel ? "btnCancel" : "btnOK").click();
    };
    // Then the title | network ID, capture time and vendor code | the undo entry's text.
    const std::tuple<const char*, How, std::string> steps[] = {
        {"mnuMiscellaneous", Cancel, "Editor - |1 0 171|Undo"},
        {"mnuMiscellaneous", Change, "Editor -  *|12 3 0171|Undo Options"},
        {"mnuUndo", Cancel, "Editor - |1 0 171|Undo"},
        {"mnuRedo", Cancel, "Editor -  *|12 3 0171|Undo Options"},
        {"mnuRegistersSave", Cancel, "Editor - o.vlt|12 3 0171|Undo Options"},
        {"mnuMiscellaneous", Keep, "Editor - o.vlt *|12 3 0171|Undo Options"},
        {"mnuUndo", Keep, "Editor - o.vlt|12 3 0171|Undo Options"},
    };
    main.newDocument("mnuNewConfig");
    main.dialogs.choices = {main.configFile("o.vlt")};
    const HeaderSettings& header = main.state.header;
    for (const auto& [entry, worked, shown] : steps) {
        how = worked;
        main.trigger(entry);
        EXPECT_EQ(main.title() + "|" + header.networkID + " " + header.captureValue + " " +
                      header.vendorCode + "|" + main.action("mnuUndo")->text().toStdString(),
                  shown);
    }
    EXPECT_EQ(main.prompter.texts(),
              std::vector<std::string>{"The digital capture time must be a number from 0 to 255."});
}

// Unlike Options, neither Cancel nor an OK that changes nothing is a step.
TEST(DialogWindows, SetpointRangeFromTheGridsContextMenu) {
    test::MainWindowHarness main;
    const auto path = main.configFile("reset.vlt");
    test::writeFile(path, "DEVICE_TYPE\r\nKYM3815\r\nCOLUMN_NAMES\r\n5\r\n\r\nROW_DATA\r\n4\r\n"
                          ",,,10,,;\r\n,,RESET_TEMP,20,,;\r\n,,,150,,;\r\n,,,160,,;\r\n");
    main.dialogs.choices = {path};
    main.trigger("mnuOpenConfig");
    main.window.show();
    RegisterGridView* grid = main.window.MSFlexGrid1();
    const QPoint at = grid->visualRect(grid->model()->index(1, kColDataFormat - 1)).center();
    QContextMenuEvent menu(QContextMenuEvent::Mouse, at, grid->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(grid->viewport(), &menu);
    EXPECT_EQ(main.state.grid.row(), 2);

    int opened = 0;
    std::string button = "CommandOK";
    main.drive = [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle().toStdString(), "Temperature Input Reset");
        if (opened++ == 0) {
            EXPECT_GT(test::expectNamedControls(dialog), 20);
            // One small step: 2 on a 0-180 slider.
            QTest::keyClick(&child<QSlider>(dialog, "SliderHighInput"), Qt::Key_Right);
            EXPECT_EQ(child<QLineEdit>(dialog, "TextHighInput").text().toStdString(), "152");
            auto& typed = child<QLineEdit>(dialog, "TextHighSetpoint");
            typed.selectAll();
            QTest::keyClicks(&typed, QStringLiteral("abc"));
        } else if (button == "CommandCancel") {
            child<QLineEdit>(dialog, "TextLowInput").setText(QStringLiteral("99"));
        }
        child<QPushButton>(dialog, button.c_str()).click();
    };
    const auto shown = [&] {
        std::string texts;
        for (int row = 1; row <= 4; ++row)
            texts += main.state.grid.cell(row, kColRangeStart) + " ";
        return texts + main.title() + "|" + main.action("mnuUndo")->text().toStdString();
    };
    main.trigger("mnuSetpointRange");
    EXPECT_EQ(shown(), "10 20 152 abc Editor - reset.vlt *|Undo Setpoint Range");
    main.trigger("mnuUndo");
    for (const char* close : {"CommandCancel", "CommandOK"}) {
        button = close;
        main.state.grid.setRow(2);
        main.state.grid.setCol(kColDataFormat);
        main.trigger("mnuSetpointRange");
        EXPECT_EQ(shown(), "10 20 150 160 Editor - reset.vlt|Undo") << close;
    }
    EXPECT_EQ(opened, 3);
}

} // namespace
} // namespace kym
