#include "config/DeviceTypes.h"
#include "config/Paths.h"
#include "editor/RegisterGridView.h"
#include "support/ConfigLines.h"
#include "support/MainWindowHarness.h"
#include "ui/QtPrompter.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace kym {
namespace {

using Answer = Prompter::Answer;

class MainWindow : public testing::Test, public test::MainWindowHarness {
protected:
    MainWindow() {
        window.resize(900, 300);
        window.show();
    }

    RegisterGridView* grid() const { return window.MSFlexGrid1(); }
    bool menuEnabled(const char* name) const { return menu(name)->isEnabled(); }
    QMenu* menu(const char* name) const {
        return window.findChild<QMenu*>(QString::fromLatin1(name));
    }

    // A real mouse click on grid cell (row, col), counted as the register table counts them.
    void clickCell(int row, int col) {
        const QModelIndex index = grid()->model()->index(row - 1, col - 1);
        grid()->scrollTo(index);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->visualRect(index).center());
    }
};

TEST_F(MainWindow, StartsWithoutADocumentAndNewShowsTheLaidOutGrid) {
    EXPECT_EQ(title(), "KYM4815/3815 Configuration Tool");
    EXPECT_FALSE(menuEnabled("mnuComm"));
    EXPECT_FALSE(grid()->isVisible());

    trigger("mnuTwoReceive");
    EXPECT_TRUE(action("mnuTwoReceive")->isChecked());
    EXPECT_EQ(menu("mnuCompatibility")->title().toStdString(), "&Compatibility(QR4805)");
    trigger("mnuNewGatewayConfig");
    EXPECT_TRUE(grid()->isVisible());
    EXPECT_TRUE(menuEnabled("mnuComm"));
    EXPECT_EQ(title(), "Editor - ");
    for (int row = 0; row < 8; ++row)
        EXPECT_EQ(grid()->isRowHidden(row), row != 4 && row != 5) << row;
    EXPECT_EQ(grid()->model()->headerData(4, Qt::Vertical).toString().toStdString(), "DIGITAL");
    EXPECT_EQ(grid()->model()->headerData(0, Qt::Horizontal).toString().toStdString(),
              "TRANSMITTER ID");
}

TEST_F(MainWindow, ClosingAChangedDocumentCanBeCancelled) {
    newDocument("mnuNewConfig");
    clickCell(2, kColDataFormat);
    Q_EMIT box(EditBox::DataAnalog)->activated(2);
    prompter.answers = {Answer::Yes, Answer::No};
    dialogs.choices = {std::nullopt};
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.close());
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>(2, std::string(prompt::kSaveChangesUpper)));
}

TEST_F(MainWindow, TheStartUpTimerFillsTheTransmitterList) {
    QComboBox* ids = box(EditBox::TransId);
    EXPECT_EQ(ids->count(), 0);
    ASSERT_TRUE(QTest::qWaitFor([ids] { return ids->count() == 65522; }));
    EXPECT_EQ(ids->itemText(0).toStdString() + ids->itemText(65521).toStdString(), "FFF0");
}

TEST_F(MainWindow, AClickLaysTheBoxExactlyOverTheCellWhereverTheGridIsScrolled) {
    window.resize(500, 200);
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

// A pick is written back and marks the document; a disabled box shows but cannot be opened.
TEST_F(MainWindow, APickIsWrittenBackAndMarksTheDocument) {
    newDocument("mnuNewConfig");
    clickCell(2, kColDataFormat);
    QComboBox* analog = box(EditBox::DataAnalog);
    ASSERT_TRUE(analog->isVisible());
    Q_EMIT analog->activated(2);
    EXPECT_EQ(state.grid.cell(2, kColDataFormat), "COUNT");
    EXPECT_FALSE(analog->isVisible());
    EXPECT_EQ(title(), "Editor -  *");

    clickCell(6, kColRangeEnd); // a row without a range says why, and still shows its box
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{"Digital rows do not use this parameter."});
    EXPECT_EQ(shownBox(), box(EditBox::End));

    prompter.answers = {Answer::No};
    newDocument("mnuTwoReceive");
    clickCell(5, kColDataFormat);
    EXPECT_EQ(shownBox(), box(EditBox::DataDigital));
    EXPECT_FALSE(box(EditBox::DataDigital)->isEnabled());
    clickCell(5, kColRangeStart);
    EXPECT_EQ(shownBox(), nullptr);
}

TEST_F(MainWindow, PlacingOverAnotherTextIsAChangeButTypedTextIsNeverWritten) {
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
}

TEST_F(MainWindow, KeyboardEditsACellLikeAClickAndEscapeLeavesIt) {
    newDocument("mnuNewConfig");
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
    QComboBox* analog = box(EditBox::DataAnalog);
    ASSERT_TRUE(analog->view()->isVisible());
    QTest::keyClick(analog->view(), Qt::Key_Down);
    QTest::keyClick(analog->view(), Qt::Key_Escape);
    EXPECT_EQ(shownBox(), nullptr);
    EXPECT_EQ(state.grid.cell(2, kColDataFormat), "");
}

// Ctrl+Z takes back a pick and the Delete after it, back to the unchanged title; the Edit menu
// names the step.
TEST_F(MainWindow, DeleteClearsACellAndCtrlZTakesEditsBack) {
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
    EXPECT_EQ(title(), "Editor - ");
    EXPECT_EQ(undo->text().toStdString() + "/" + redo->text().toStdString(),
              "Undo/Redo DATA FORMAT in row 2");
    EXPECT_FALSE(undo->isEnabled());
    QTest::keyClick(&window, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(title(), "Editor -  *");
}

// The cell menu of a controller row opens from the keyboard as a popup of the window that
// assistive tools can reach, naming its entry; other cells offer no menu. A file of another type
// than FACTORY hides the control variants.
TEST_F(MainWindow, TheCellMenuOpensFromTheKeyboardAsAnAccessiblePopup) {
    test::writeFile(configFile("reset.vlt"),
                    "DEVICE_TYPE\r\nQD4805\r\nFILE_TYPE\r\nFIELD\r\nCOLUMN_"
                    "NAMES\r\n5\r\n\r\nROW_DATA\r\n2\r\n,,,,,;\r\n,,RESET_TEMP,20,,;\r\n");
    dialogs.choices = {configFile("reset.vlt")};
    trigger("mnuOpenConfig");
    EXPECT_FALSE(action("mnuTwo_Control")->isVisible());
    EXPECT_FALSE(action("mnuFour_Control")->isVisible());
    EXPECT_TRUE(action("mnuTwo_Control")->isChecked());
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const struct {
        const char* name;
        int row;
        QKeyCombination keys;
        bool offered;
    } cases[] = {
        {"Shift+F10 on a controller row", 2, Qt::SHIFT | Qt::Key_F10, true},
        {"Menu key on a controller row", 2, QKeyCombination(Qt::Key_Menu), true},
        {"Menu key on an analog row", 1, QKeyCombination(Qt::Key_Menu), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        grid()->setFocus();
        grid()->setCurrentIndex(grid()->model()->index(c.row - 1, kColDataFormat - 1));
        QTest::keyClick(grid(), c.keys.key(), c.keys.keyboardModifiers());
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_EQ(popup != nullptr, c.offered);
        if (!popup)
            continue;
        QAccessibleInterface* menu = QAccessible::queryAccessibleInterface(popup);
        EXPECT_EQ(menu->text(QAccessible::Name).toStdString(), "Grid Cell");
        ASSERT_EQ(menu->childCount(), 1);
        EXPECT_EQ(menu->child(0)->text(QAccessible::Name).toStdString(), "Setpoint Range...");
        popup->close();
    }
}

// kymeditor FILE: a relative path is taken against the current folder, the messages are those of
// File > Open, and what opened joins the recent files, where a file gone since is dropped. Folder
// and file names have letters outside ASCII.
TEST_F(MainWindow, OpensAFileNamedFromOutsideAsOpenDoes) {
    const auto folder = dir.path() / pathFromUtf8("Z\u00fcrich");
    const std::string unit = utf8Of(folder / pathFromUtf8("J\u00fcrgen.vlt"));
    const std::string bad = utf8Of(folder / "bad.vlt");
    std::filesystem::create_directories(folder);
    test::writeFile(pathFromUtf8(unit), test::ConfigLines("KYM3815", {",3,COUNT,0,4095,;"}).text());
    test::writeFile(pathFromUtf8(bad), "DEVICE_TYPE\r\nKYM3815\r\nCOLUMN_NAMES\r\nfive\r\n");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    window.openFile(pathFromUtf8("J\u00fcrgen.vlt"));
    EXPECT_EQ(title(), "Editor - J\u00fcrgen.vlt");
    const QAbstractItemModel* cells = grid()->model();
    EXPECT_EQ(cells->index(0, kColTransChan - 1).data().toString().toStdString(), "3");
    EXPECT_EQ(cells->index(0, kColDataFormat - 1).data().toString().toStdString(), "COUNT");
    EXPECT_EQ(cells->index(0, kColRangeEnd - 1).data().toString().toStdString(), "4095");

    for (const char* name : {"bad.vlt", "gone.vlt"}) {
        window.openFile(name);
        dialogs.choices = {folder / name};
        trigger("mnuOpenConfig");
    }
    std::filesystem::current_path(previous);
    const auto texts = prompter.texts();
    ASSERT_EQ(texts.size(), 4U);
    EXPECT_EQ(texts[0], texts[1]);
    EXPECT_EQ(texts[2], texts[3]);
    EXPECT_EQ(texts[0].rfind("bad.vlt, line ", 0), 0U) << texts[0];

    EXPECT_EQ(settings.values["recentFiles"], (std::vector<std::string>{bad, unit}));
    std::filesystem::remove(pathFromUtf8(unit));
    Q_EMIT menu("mnuRecentFiles")->aboutToShow();
    QAction* second = menu("mnuRecentFiles")->findChild<QAction*>(QStringLiteral("mnuRecentFile2"));
    EXPECT_EQ(second->text().toStdString(), "&2 " + unit);
    second->trigger();
    EXPECT_EQ(prompter.texts().back(),
              unit + " no longer exists; it is removed from the recent files.");
    EXPECT_EQ(settings.values["recentFiles"], std::vector<std::string>{bad});
}

// A file's bytes are Windows-1252, not Latin-1: 0x80 shows as "€" in the grid and its box and is
// saved back as the one byte; a long value quoted in a message box ends in a real "…".
TEST_F(MainWindow, FileValuesShowInTheirCodePageAndKeepTheirBytes) {
    const auto file = configFile("J\u00fcrgen.vlt");
    std::filesystem::create_directories(file.parent_path());
    test::writeFile(file, test::ConfigLines("KYM3815", {",\x80,COUNT,0,4095,;"}).text());
    dialogs.choices = {file};
    trigger("mnuOpenConfig");
    const QModelIndex channel = grid()->model()->index(0, kColTransChan - 1);
    EXPECT_EQ(channel.data().toString(), QStringLiteral("\u20ac"));
    clickCell(1, kColTransChan);
    EXPECT_EQ(box(EditBox::Channel)->currentText(), QStringLiteral("\u20ac"));
    trigger("mnuRegistersSave");
    EXPECT_NE(test::readFile(file).find("\r\n,\x80,COUNT,0,4095,;\r\n"), std::string::npos);

    std::string longCount = test::ConfigLines("KYM3815").text();
    longCount.replace(longCount.find("ROW_DATA\r\n0"), 11,
                      "ROW_DATA\r\n8" + std::string(99999, 'x'));
    test::writeFile(file, longCount);
    dialogs.choices = {file};
    trigger("mnuOpenConfig");
    ASSERT_FALSE(prompter.texts().empty());
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    QtPrompter(&window).warn(prompter.texts().back());
    EXPECT_TRUE(shown.startsWith(QStringLiteral("J\u00fcrgen.vlt, line ")))
        << shown.left(60).toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("\"8xxx")));
    EXPECT_TRUE(shown.contains(QStringLiteral("x\u2026\" (100000 characters)")))
        << shown.toStdString();
}

} // namespace
} // namespace kym
