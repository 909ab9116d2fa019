#include "editor/RegisterGridView.h"
#include "support/ConfigLines.h"
#include "support/MainWindowHarness.h"
#include "ui/QtPrompter.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace kym {
namespace {

using Texts = std::vector<std::string>;
using test::ConfigLines;

class MainWindow : public testing::Test, public test::MainWindowHarness {
protected:
    MainWindow() {
        window.resize(900, 300);
        window.show();
    }

    RegisterGridView* grid() const { return window.MSFlexGrid1(); }
    QMenu* menu(const char* name) const { return &test::child<QMenu>(window, name); }
    void openConfig(const std::string& name, const std::string& text) {
        test::writeFile(configFile(name), text);
        dialogs.choices = {configFile(name)};
        trigger("mnuOpenConfig");
    }

    void compareWith(const ConfigLines& other) {
        test::writeFile(dir / "b.vlt", other.text());
        dialogs.choices = {dir / "b.vlt"};
        trigger("mnuCompareWith");
    }

    // A real mouse click on grid cell (row, col), counted as the register table counts them.
    void clickCell(int row, int col) {
        const QModelIndex index = grid()->model()->index(row - 1, col - 1);
        grid()->scrollTo(index);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->visualRect(index).center());
    }

    const ConfigLines example{"KYM3815", {"1A,1,COUNT,0,4095,;", ",,,,,;", "3C,2,,,,;"}};
};

// The start-up timer fills the transmitter list.
TEST_F(MainWindow, StartsWithoutADocumentNewShowsTheGridAndAClickPlacesTheBox) {
    QComboBox* ids = box(EditBox::TransId);
    EXPECT_EQ(ids->count(), 0);
    ASSERT_TRUE(QTest::qWaitFor([ids] { return ids->count() == 65522; }));
    EXPECT_EQ(ids->itemText(0).toStdString() + ids->itemText(65521).toStdString(), "FFF0");
    EXPECT_FALSE(menu("mnuComm")->isEnabled());
    EXPECT_FALSE(grid()->isVisible());
    trigger("mnuTwoReceive");
    EXPECT_TRUE(action("mnuTwoReceive")->isChecked());
    EXPECT_EQ(menu("mnuCompatibility")->title().toStdString(), "&Compatibility(QR4805)");
    trigger("mnuNewGatewayConfig");
    EXPECT_TRUE(grid()->isVisible());
    EXPECT_TRUE(menu("mnuComm")->isEnabled());
    for (int row = 0; row < 8; ++row)
        EXPECT_EQ(grid()->isRowHidden(row), row != 4 && row != 5) << row;
    EXPECT_EQ(grid()->model()->headerData(4, Qt::Vertical).toString().toStdString(), "DIGITAL");
    EXPECT_EQ(grid()->model()->headerData(0, Qt::Horizontal).toString().toStdString(),
              "TRANSMITTER ID");

    // A click lays the box exactly over the cell, wherever the grid is scrolled.
    window.resize(500, 200);
    prompter.answers = {Prompter::Answer::No};
    newDocument("mnuExtender");
    for (const auto& [row, col] : std::vector<std::pair<int, int>>{{1, 1}, {23, 5}, {12, 3}}) {
        clickCell(row, col);
        QComboBox* shown = shownBox();
        ASSERT_NE(shown, nullptr) << row << "," << col;
        const QRect cell = grid()->visualRect(grid()->model()->index(row - 1, col - 1));
        EXPECT_EQ(shown->mapTo(&window, QPoint(0, 0)),
                  grid()->viewport()->mapTo(&window, cell.topLeft()));
        EXPECT_EQ(shown->size(), cell.size());
        EXPECT_FALSE(shown->hasFocus());
    }
    grid()->scrollToBottom(); // scrolling hides the box and writes nothing
    EXPECT_EQ(shownBox(), nullptr);
    EXPECT_EQ(state.grid.cell(12, kColDataFormat), "");
}

// Typed text is never written nor listed; a range box says why a row has no range, and a disabled
// box shows but cannot be opened.
TEST_F(MainWindow, TypingPickingAndKeysInTheBoxes) {
    newDocument("mnuNewConfig");
    state.grid.setRow(4);
    state.grid.setCol(kColTransChan);
    state.grid.setText("2");
    clickCell(3, kColTransChan);
    EXPECT_EQ(title(), "Editor - ");
    clickCell(4, kColTransChan);
    EXPECT_EQ(title(), "Editor -  *");
    QLineEdit* edit = box(EditBox::Channel)->lineEdit();
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("9"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(state.grid.cell(4, kColTransChan), "2");
    EXPECT_EQ(box(EditBox::Channel)->count(), 5);

    clickCell(2, kColDataFormat);
    QComboBox* analog = box(EditBox::DataAnalog);
    ASSERT_TRUE(analog->isVisible());
    Q_EMIT analog->activated(2);
    EXPECT_EQ(state.grid.cell(2, kColDataFormat), "COUNT");
    EXPECT_FALSE(analog->isVisible());
    clickCell(6, kColRangeEnd);
    EXPECT_EQ(prompter.texts(), Texts{"Digital rows do not use this parameter."});
    EXPECT_EQ(shownBox(), box(EditBox::End));

    // The keyboard edits a cell as a click does, and Escape leaves it.
    grid()->setFocus();
    grid()->setCurrentIndex(grid()->model()->index(0, 0));
    QTest::keyClick(grid(), Qt::Key_Right);
    QTest::keyClick(grid(), Qt::Key_Down);
    QTest::keyClick(grid(), Qt::Key_F2);
    QComboBox* channel = box(EditBox::Channel);
    ASSERT_TRUE(channel->view()->isVisible());
    QTest::keyClick(channel->view(), Qt::Key_3);
    QTest::keyClick(channel->view(), Qt::Key_Return);
    EXPECT_EQ(state.grid.cell(2, kColTransChan), "3");
    EXPECT_EQ(shownBox(), nullptr);

    QTest::keyClick(grid(), Qt::Key_Right);
    QTest::keyClick(grid(), Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(analog->view()->isVisible());
    QTest::keyClick(analog->view(), Qt::Key_Down);
    QTest::keyClick(analog->view(), Qt::Key_Escape);
    EXPECT_EQ(shownBox(), nullptr);
    EXPECT_EQ(state.grid.cell(2, kColDataFormat), "COUNT");

    prompter.answers = {Prompter::Answer::No};
    newDocument("mnuTwoReceive");
    clickCell(5, kColDataFormat);
    EXPECT_EQ(shownBox(), box(EditBox::DataDigital));
    EXPECT_FALSE(box(EditBox::DataDigital)->isEnabled());
}

// Closing a changed document asks, and a save cancelled keeps it open.
TEST_F(MainWindow, DeleteClearsACellCtrlZTakesEditsBackAndClosingAsks) {
    newDocument("mnuNewConfig");
    QAction* undo = action("mnuUndo");
    QAction* redo = action("mnuRedo");
    clickCell(2, kColDataFormat);
    Q_EMIT box(EditBox::DataAnalog)->activated(2);
    EXPECT_EQ(undo->text().toStdString(), "Undo DATA FORMAT in row 2");
    QTest::keyClick(grid(), Qt::Key_Delete);
    EXPECT_EQ(state.grid.cell(2, kColDataFormat), "");

    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    clickCell(2, kColDataFormat);
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(shownBox(), nullptr);
    EXPECT_EQ(state.grid.cell(2, kColDataFormat), "COUNT");
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(state.grid.cell(2, kColDataFormat), "");
    EXPECT_EQ(undo->text().toStdString() + "/" + redo->text().toStdString(),
              "Undo/Redo DATA FORMAT in row 2");
    EXPECT_FALSE(undo->isEnabled());
    QTest::keyClick(&window, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(title(), "Editor -  *");

    prompter.answers = {Prompter::Answer::Yes, Prompter::Answer::No};
    dialogs.choices = {std::nullopt};
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.close());
    EXPECT_EQ(prompter.texts(), Texts(2, std::string(prompt::kSaveChangesUpper)));
}

// A popup of the window, so that assistive tools reach it. A file of another type than FACTORY
// hides the control variants.
TEST_F(MainWindow, TheCellMenuOpensFromTheKeyboardAsAnAccessiblePopup) {
    openConfig("reset.vlt",
               "DEVICE_TYPE\r\nQD4805\r\nFILE_TYPE\r\nFIELD\r\nCOLUMN_NAMES\r\n5\r\n\r\n"
               "ROW_DATA\r\n2\r\n,,,,,;\r\n,,RESET_TEMP,20,,;\r\n");
    EXPECT_FALSE(action("mnuTwo_Control")->isVisible());
    EXPECT_TRUE(action("mnuTwo_Control")->isChecked());
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const std::tuple<const char*, int, QKeyCombination, bool> cases[] = {
        {"Shift+F10 on a controller row", 2, Qt::SHIFT | Qt::Key_F10, true},
        {"Menu key on a controller row", 2, QKeyCombination(Qt::Key_Menu), true},
        {"Menu key on an analog row", 1, QKeyCombination(Qt::Key_Menu), false},
    };
    for (const auto& [name, row, keys, offered] : cases) {
        SCOPED_TRACE(name);
        grid()->setFocus();
        grid()->setCurrentIndex(grid()->model()->index(row - 1, kColDataFormat - 1));
        QTest::keyClick(grid(), keys.key(), keys.keyboardModifiers());
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_EQ(popup != nullptr, offered);
        if (!popup)
            continue;
        QAccessibleInterface* menu = QAccessible::queryAccessibleInterface(popup);
        EXPECT_EQ(menu->text(QAccessible::Name).toStdString(), "Grid Cell");
        ASSERT_EQ(menu->childCount(), 1);
        EXPECT_EQ(menu->child(0)->text(QAccessible::Name).toStdString(), "Setpoint Range...");
        popup->close();
    }
}

// kymeditor FILE, relative to the current folder; a recent file gone since is dropped.
TEST_F(MainWindow, OpensAFileNamedFromOutsideAndKeepsTheRecentFiles) {
    const auto folder = dir.path() / pathFromUtf8("Z\u00fcrich");
    const std::string unit = utf8Of(folder / pathFromUtf8("J\u00fcrgen.vlt"));
    const std::string bad = utf8Of(folder / "bad.vlt");
    std::filesystem::create_directories(folder);
    test::writeFile(pathFromUtf8(unit), ConfigLines("KYM3815", {",3,COUNT,0,4095,;"}).text());
    test::writeFile(pathFromUtf8(bad), "DEVICE_TYPE\r\nKYM3815\r\nCOLUMN_NAMES\r\nfive\r\n");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    window.openFile(pathFromUtf8("J\u00fcrgen.vlt"));
    EXPECT_EQ(title(), "Editor - J\u00fcrgen.vlt");
    EXPECT_EQ(grid()->model()->index(0, kColTransChan - 1).data().toString(), QStringLiteral("3"));
    window.openFile("bad.vlt");
    window.openFile("gone.vlt");
    std::filesystem::current_path(previous);

    EXPECT_EQ(settings.values["recentFiles"], (Texts{bad, unit}));
    std::filesystem::remove(pathFromUtf8(unit));
    Q_EMIT menu("mnuRecentFiles")->aboutToShow();
    QAction* second = &test::child<QAction>(*menu("mnuRecentFiles"), "mnuRecentFile2");
    EXPECT_EQ(second->text().toStdString(), "&2 " + unit);
    second->trigger();
    EXPECT_EQ(prompter.texts().back(),
              unit + " no longer exists; it is removed from the recent files.");
    EXPECT_EQ(settings.values["recentFiles"], Texts{bad});
}

// A file's bytes are Windows-1252, not Latin-1; message boxes show UTF-8.
TEST_F(MainWindow, FileValuesShowInTheirCodePageAndKeepTheirBytes) {
    openConfig("J\u00fcrgen.vlt", ConfigLines("KYM3815", {",\x80,COUNT,0,4095,;"}).text());
    EXPECT_EQ(grid()->model()->index(0, kColTransChan - 1).data().toString(), u"\u20ac");
    clickCell(1, kColTransChan);
    EXPECT_EQ(box(EditBox::Channel)->currentText(), QStringLiteral("\u20ac"));
    trigger("mnuRegistersSave");
    EXPECT_NE(test::readFile(configFile("J\u00fcrgen.vlt")).find("\r\n,\x80,COUNT,0,4095,;\r\n"),
              std::string::npos);

    QString message;
    QTimer::singleShot(0, [&message] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            message = box->text();
            box->accept();
        }
    });
    QtPrompter(&window).warn("J\u00fcrgen.vlt: \"8xx\u2026\"");
    EXPECT_EQ(message, QStringLiteral("J\u00fcrgen.vlt: \"8xx\u2026\""));
}

TEST_F(MainWindow, ComparisonMarksDifferingCellsUntilTheNextChange) {
    ConfigLines other = example;
    other.rows[2] = "3D,2,,,,;";
    other.set("TIMEOUT", "45");
    const std::pair<const char*, std::function<void()>> rows[] = {
        {"Clear Comparison", [&] { trigger("mnuClearComparison"); }},
        {"an edit", [&] { state.grid.setRow(1), state.grid.setText("1B"); }},
        {"New", [&] { newDocument("mnuNewConfig"); }},
    };
    for (const auto& [name, change] : rows) {
        SCOPED_TRACE(name);
        openConfig("a.vlt", example.text());
        compareWith(other);
        EXPECT_EQ(grid()->marks(), (RegisterGridView::Marks{{{3, 1}, "b.vlt: 3D"}}));
        const QModelIndex cell = grid()->model()->index(2, 0);
        EXPECT_EQ(cell.data(Qt::ToolTipRole).toString().toStdString(), "b.vlt: 3D");
        EXPECT_TRUE(cell.data(Qt::BackgroundRole).isValid());
        EXPECT_FALSE(grid()->model()->index(0, 0).data(Qt::BackgroundRole).isValid());
        const auto* compared = &test::child(window, "frmComparison");
        const auto* list = &test::child<QListWidget>(window, "lstSettings");
        ASSERT_TRUE(compared && list && list->count());
        EXPECT_TRUE(compared->isVisible());
        EXPECT_EQ(list->item(0)->text().toStdString(), "TIMEOUT: 30 -> 45");

        change();
        EXPECT_TRUE(grid()->marks().empty());
        EXPECT_FALSE(compared->isVisible());
        EXPECT_FALSE(action("mnuClearComparison")->isEnabled());
    }
}

// Print goes through the printer the print dialog set up; Export PDF through a save dialog; the
// PDF's text is checked by the export command's test.
TEST_F(MainWindow, ComparingReportsTheSameOrUnreadableFilesAndPrintingWritesTheRecord) {
    openConfig("a.vlt", example.text());
    ConfigLines malformed = example;
    malformed.rows.resize(12, ",,,,,;");
    compareWith(example);
    compareWith(malformed);
    dialogs.choices = {dir / "missing.vlt"};
    trigger("mnuCompareWith");
    const Texts expected{"The configuration does not differ from b.vlt.",
                         (dir / "b.vlt").string() + ":25: ROW_DATA count 12 is larger than the 8",
                         (dir / "missing.vlt").string() + ": No such file or directory"};
    ASSERT_EQ(prompter.texts().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(prompter.texts()[i].substr(0, expected[i].size()), expected[i]);
    EXPECT_TRUE(grid()->marks().empty());

    const auto printed = dir / "printed.pdf";
    drive = [&](QDialog& dialog) {
        static_cast<QPrintDialog&>(dialog).printer()->setOutputFileName(
            QString::fromStdString(printed.string()));
        dialog.done(QDialog::Accepted);
    };
    trigger("mnuPrint");
    dialogs.choices = {dir / "exported"};
    trigger("mnuExportPdf");
    EXPECT_EQ(dialogs.requests.back().request.fileName, "a.pdf");
    for (const auto& pdf : {printed, dir / "exported.pdf"})
        EXPECT_TRUE(test::readFile(pdf).starts_with("%PDF-")) << pdf;
}

} // namespace
} // namespace kym
