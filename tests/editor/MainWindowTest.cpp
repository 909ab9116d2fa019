#include "config/DeviceTypes.h"
#include "editor/RegisterGridView.h"
#include "support/MainWindowHarness.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
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
    QComboBox* box(EditBox which) const { return window.editBox(which); }
    std::string menuTitle(const char* name) const {
        return window.findChild<QMenu*>(QString::fromLatin1(name))->title().toStdString();
    }
    bool menuEnabled(const char* name) const {
        return window.findChild<QMenu*>(QString::fromLatin1(name))->isEnabled();
    }

    // A real mouse click on grid cell (row, col), counted as the register table counts them.
    void clickCell(int row, int col) {
        const QModelIndex index = grid()->model()->index(row - 1, col - 1);
        grid()->scrollTo(index);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->visualRect(index).center());
    }
    QComboBox* shownBox() const {
        for (auto which : {EditBox::TransId, EditBox::Channel, EditBox::DataAnalog,
                           EditBox::DataDigital, EditBox::Start, EditBox::End})
            if (box(which)->isVisible())
                return box(which);
        return nullptr;
    }
};

TEST_F(MainWindow, MenusCarryTheirNamesCaptionsAndShortcuts) {
    const std::array<const char*, 3> entries[] = {
        {"mnuNewGatewayConfig", "New", "Ctrl+N"},   {"mnuOpenConfig", "Open", "Ctrl+O"},
        {"mnuRegistersSave", "Save", "Ctrl+S"},     {"mnuRegistersSaveAs", "Save As", "Ctrl+Shift+S"},
        {"mnuFileTransfer", "&File Transfer", ""},  {"mnuFileExit", "E&xit", "Ctrl+Q"},
        {"mnuMiscellaneous", "Miscellaneous", ""},  {"mnuNewConfig", "QR3815/4815(4-AO 4-DO)", ""},
        {"mnuExtender", "QR4815+QX4815(4-AO 4-DO)", ""}, {"mnuTwoReceive", "QR4805(2-DO)", ""},
        {"mnuFour_Control", "QD4815(4-AO 4-DO)", ""}, {"mnuTwo_Control", "QD4805(2-DO)", ""}};
    for (const auto& [name, caption, shortcut] : entries) {
        const QAction* entry = window.action(QString::fromLatin1(name));
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_EQ(entry->text().toStdString(), caption);
        EXPECT_EQ(entry->shortcut().toString().toStdString(), shortcut) << name;
    }
    for (const char* separator : {"M3", "Bar1", "Bar2"})
        EXPECT_TRUE(window.action(QString::fromLatin1(separator))->isSeparator());
    EXPECT_EQ(menuTitle("mnuFile") + menuTitle("mnuComm") + menuTitle("mnuCompatibility"),
              "&File&Settings&DeviceType");
    EXPECT_EQ(title(), "KYM4815/3815 Configuration Tool");
    EXPECT_FALSE(menuEnabled("mnuComm"));
    EXPECT_FALSE(grid()->isVisible());
}

TEST_F(MainWindow, DeviceTypeChoiceAndNewShowTheLaidOutGrid) {
    trigger("mnuTwoReceive");
    EXPECT_TRUE(window.action(QStringLiteral("mnuTwoReceive"))->isChecked());
    EXPECT_EQ(menuTitle("mnuCompatibility"), "&Compatibility(QR4805)");
    trigger("mnuNewGatewayConfig");
    EXPECT_TRUE(grid()->isVisible());
    EXPECT_TRUE(menuEnabled("mnuComm"));
    EXPECT_EQ(title(), "Editor - ");
    for (int row = 0; row < 8; ++row)
        EXPECT_EQ(grid()->isRowHidden(row), row != 4 && row != 5) << row;
    EXPECT_EQ(grid()->model()->headerData(4, Qt::Vertical).toString().toStdString(), "DIGITAL");
    EXPECT_EQ(grid()->model()->headerData(0, Qt::Horizontal).toString().toStdString(), "TRANSMITTER ID");
    EXPECT_EQ(grid()->columnWidth(0), grid()->twipsToPixels(2200));
    EXPECT_EQ(grid()->verticalHeader()->width(), grid()->twipsToPixels(900));
}

TEST_F(MainWindow, ClosingAChangedDocumentCanBeCancelled) {
    newDocument("mnuNewConfig");
    state.document.documentChanged = true;
    prompter.answers = {Answer::Yes, Answer::No};
    dialogs.choices = {std::nullopt};
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.close());
    EXPECT_EQ(prompter.texts(), std::vector<std::string>(2, std::string(prompt::kSaveChangesUpper)));
}

TEST_F(MainWindow, ControlVariantEntriesFollowTheLoadedFileType) {
    test::writeFile(configFile("f.vlt"), "DEVICE_TYPE\r\nQD4805\r\nFILE_TYPE\r\nFIELD\r\n");
    dialogs.choices = {configFile("f.vlt")};
    trigger("mnuOpenConfig");
    EXPECT_FALSE(window.action(QStringLiteral("mnuTwo_Control"))->isVisible());
    EXPECT_FALSE(window.action(QStringLiteral("mnuFour_Control"))->isVisible());
    EXPECT_TRUE(window.action(QStringLiteral("mnuTwo_Control"))->isChecked());
    EXPECT_EQ(title(), "Editor - f.vlt");
}

TEST_F(MainWindow, TheStartUpTimerFillsTheTransmitterList) {
    QComboBox* ids = box(EditBox::TransId);
    EXPECT_EQ(ids->count(), 0);
    ASSERT_TRUE(QTest::qWaitFor([ids] { return ids->count() == 65522; }));
    EXPECT_EQ(ids->itemText(0).toStdString() + ids->itemText(65521).toStdString(), "FFF0");
    EXPECT_EQ(box(EditBox::Channel)->count(), 5);
    EXPECT_EQ(box(EditBox::DataDigital)->itemText(1).toStdString(), "DIGITAL");
    EXPECT_EQ(box(EditBox::DataAnalog)->itemText(4).toStdString(), "MOISTURE");
}

TEST_F(MainWindow, AClickLaysTheBoxExactlyOverTheCellWhereverTheGridIsScrolled) {
    window.resize(500, 200);
    newDocument("mnuExtender");
    for (const auto& [row, col] : std::vector<std::pair<int, int>>{{1, 1}, {23, 5}, {12, 3}}) {
        clickCell(row, col);
        QComboBox* shown = shownBox();
        ASSERT_NE(shown, nullptr) << row << "," << col;
        const QRect cell = grid()->visualRect(grid()->model()->index(row - 1, col - 1));
        EXPECT_EQ(shown->mapTo(&window, QPoint(0, 0)), grid()->viewport()->mapTo(&window, cell.topLeft()));
        EXPECT_EQ(shown->size(), cell.size());
        EXPECT_FALSE(shown->hasFocus());
    }
    grid()->scrollToBottom(); // scrolling hides the box and writes nothing
    EXPECT_EQ(shownBox(), nullptr);
    EXPECT_EQ(state.grid.cell(12, kColDataFormat), "");
}

TEST_F(MainWindow, APickIsWrittenBackAndMarksTheDocument) {
    newDocument("mnuNewConfig");
    clickCell(2, kColDataFormat);
    QComboBox* analog = box(EditBox::DataAnalog);
    ASSERT_TRUE(analog->isVisible());
    Q_EMIT analog->activated(2);
    EXPECT_EQ(state.grid.cell(2, kColDataFormat), "COUNT");
    EXPECT_FALSE(analog->isVisible());
    EXPECT_EQ(title(), "Editor -  *");

    clickCell(2, kColRangeStart);
    QComboBox* start = box(EditBox::Start);
    EXPECT_EQ(start->count(), 4098);
    Q_EMIT start->activated(start->findText(QStringLiteral("4096")));
    EXPECT_EQ(state.grid.cell(2, kColRangeStart), "4096");

    clickCell(6, kColRangeEnd); // a row without a range says why, and still shows its box
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Digital rows do not use this parameter."});
    EXPECT_EQ(shownBox(), box(EditBox::End));
    EXPECT_EQ(box(EditBox::End)->count(), 1);
}

TEST_F(MainWindow, DisabledBoxesAreShownButCannotBeOpened) {
    newDocument("mnuTwoReceive");
    clickCell(5, kColDataFormat);
    EXPECT_EQ(shownBox(), box(EditBox::DataDigital));
    EXPECT_FALSE(box(EditBox::DataDigital)->isEnabled());
    clickCell(5, kColRangeStart);
    EXPECT_EQ(shownBox(), nullptr);
}

TEST_F(MainWindow, PlacingOverADifferentTextIsAChangeExceptTheFirstAfterOpening) {
    test::writeFile(configFile("ids.vlt"),
                    "DEVICE_TYPE\r\nKYM3815\r\nCOLUMN_NAMES\r\n5\r\n\r\nROW_DATA\r\n2\r\n1A,,,,,;\r\n2B,,,,,;\r\n");
    dialogs.choices = {configFile("ids.vlt")};
    trigger("mnuOpenConfig");
    clickCell(1, kColTransmitterId);
    clickCell(1, kColTransmitterId);
    EXPECT_EQ(title(), "Editor - ids.vlt");
    EXPECT_FALSE(state.ignoreNextChange);
    clickCell(2, kColTransmitterId);
    EXPECT_EQ(title(), "Editor - ids.vlt *");
    EXPECT_EQ(box(EditBox::TransId)->currentText().toStdString(), "2B");
}

TEST_F(MainWindow, TypedTextIsAChangeButNeverWrittenIntoTheGrid) {
    newDocument("mnuNewConfig");
    clickCell(3, kColTransChan);
    QLineEdit* edit = box(EditBox::Channel)->lineEdit();
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("9"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(state.grid.cell(3, kColTransChan), "");
    EXPECT_EQ(box(EditBox::Channel)->count(), 5);
    EXPECT_EQ(title(), "Editor -  *");
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

} // namespace
} // namespace kym
