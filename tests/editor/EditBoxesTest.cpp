#include "config/DeviceTypes.h"
#include "editor/FlexGrid.h"
#include "editor/RegisterGridView.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace kym {
namespace {

class EditBoxes : public testing::Test {
protected:
    EditBoxes()
        : window(state, Services{prompter, dialogs, [](QDialog&) { return 0; }, Folders(dir / "kym")}) {
        window.resize(900, 300);
        window.show();
        QCoreApplication::processEvents(); // the start-up timer fills the transmitter list
    }

    void newDocument(const char* typeEntry) {
        window.action(QString::fromLatin1(typeEntry))->trigger();
        window.action(QStringLiteral("mnuNewGatewayConfig"))->trigger();
    }

    RegisterGridView* grid() const { return window.MSFlexGrid1(); }

    // A real mouse click on grid cell (row, col), both counted as the register table counts them.
    void clickCell(int row, int col) {
        const QModelIndex index = grid()->model()->index(row - 1, col - 1);
        grid()->scrollTo(index);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->visualRect(index).center());
    }

    QComboBox* box(EditBox which) const { return window.editBox(which); }
    std::string title() const { return window.windowTitle().toStdString(); }

    test::TempDir dir;
    ProgramState state;
    test::ScriptedPrompter prompter;
    test::ScriptedFileDialogs dialogs;
    FlexGrid window;
};

TEST_F(EditBoxes, BoxesHaveTheirNamesAndListsAfterTheFirstEventLoopTurn) {
    const std::pair<EditBox, const char*> names[] = {
        {EditBox::TransId, "ComboTransID"},   {EditBox::Channel, "ComboChannel"},
        {EditBox::DataAnalog, "ComboDataAnalog"}, {EditBox::DataDigital, "ComboDataDigital"},
        {EditBox::Start, "ComboStart"},       {EditBox::End, "ComboEnd"}};
    for (const auto& [which, name] : names) {
        EXPECT_EQ(box(which)->objectName().toStdString(), name);
        EXPECT_FALSE(box(which)->accessibleName().isEmpty());
        EXPECT_FALSE(box(which)->isVisible());
    }
    QComboBox* ids = box(EditBox::TransId);
    ASSERT_EQ(ids->count(), 65522);
    EXPECT_EQ(ids->itemText(0).toStdString(), "");
    EXPECT_EQ(ids->itemText(65521).toStdString(), "FFF0");
    EXPECT_EQ(box(EditBox::Channel)->count(), 5);
    EXPECT_EQ(box(EditBox::DataDigital)->itemText(1).toStdString(), "DIGITAL");
    EXPECT_EQ(box(EditBox::DataAnalog)->itemText(4).toStdString(), "MOISTURE");
}

TEST_F(EditBoxes, AClickLaysTheBoxExactlyOverTheCellWhereverTheGridIsScrolled) {
    window.resize(500, 200);
    newDocument("mnuExtender");
    for (const auto& [row, col] : std::vector<std::pair<int, int>>{{1, 1}, {23, 5}, {12, 3}}) {
        clickCell(row, col);
        QComboBox* shown = nullptr;
        for (auto which : {EditBox::TransId, EditBox::End, EditBox::DataAnalog})
            if (box(which)->isVisible())
                shown = box(which);
        ASSERT_NE(shown, nullptr) << row << "," << col;
        const QRect cell = grid()->visualRect(grid()->model()->index(row - 1, col - 1));
        const QPoint topLeft = grid()->viewport()->mapTo(&window, cell.topLeft());
        EXPECT_EQ(shown->mapTo(&window, QPoint(0, 0)), topLeft);
        EXPECT_EQ(shown->size(), cell.size());
        EXPECT_FALSE(shown->hasFocus());
    }
}

TEST_F(EditBoxes, APickIsWrittenBackAndMarksTheDocument) {
    newDocument("mnuNewConfig");
    prompter.answers.clear();
    clickCell(2, kColDataFormat);
    QComboBox* analog = box(EditBox::DataAnalog);
    ASSERT_TRUE(analog->isVisible());
    analog->setCurrentIndex(2);
    Q_EMIT analog->activated(2);
    EXPECT_EQ(state.grid.cell(2, kColDataFormat), "COUNT");
    EXPECT_FALSE(analog->isVisible());
    EXPECT_EQ(title(), "Editor -  *");

    clickCell(2, kColRangeStart);
    QComboBox* start = box(EditBox::Start);
    ASSERT_TRUE(start->isVisible());
    EXPECT_EQ(start->count(), 4098);
    Q_EMIT start->activated(start->findText(QStringLiteral("4096")));
    EXPECT_EQ(state.grid.cell(2, kColRangeStart), "4096");
}

TEST_F(EditBoxes, RangeCellsOfRowsWithoutARangeExplainAndStillShowTheBox) {
    newDocument("mnuNewConfig");
    clickCell(6, kColRangeEnd);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Digital rows do not use this parameter."});
    EXPECT_TRUE(box(EditBox::End)->isVisible());
    EXPECT_EQ(box(EditBox::End)->count(), 1);
    clickCell(1, kColRangeStart);
    EXPECT_EQ(prompter.texts().back(), "Select Appropriate 'DATA FORMAT' Type!");
}

TEST_F(EditBoxes, DisabledBoxesAreShownButCannotBeOpened) {
    newDocument("mnuTwoReceive");
    clickCell(5, kColDataFormat);
    EXPECT_TRUE(box(EditBox::DataDigital)->isVisible());
    EXPECT_FALSE(box(EditBox::DataDigital)->isEnabled());
    clickCell(5, kColRangeStart);
    for (auto which : {EditBox::TransId, EditBox::Channel, EditBox::DataAnalog, EditBox::DataDigital,
                       EditBox::Start, EditBox::End})
        EXPECT_FALSE(box(which)->isVisible());
}

TEST_F(EditBoxes, PlacingOverADifferentTextIsAChangeExceptTheFirstAfterOpening) {
    const auto path = dir / "kym" / "kym3815" / "ids.vlt";
    test::writeFile(path, "DEVICE_TYPE\r\nKYM3815\r\nCOLUMN_NAMES\r\n5\r\n\r\nROW_DATA\r\n2\r\n1A,,,,,;\r\n2B,,,,,;\r\n");
    dialogs.choices = {path};
    window.action(QStringLiteral("mnuOpenConfig"))->trigger();
    clickCell(1, kColTransmitterId);
    EXPECT_EQ(title(), "Editor - ids.vlt");
    EXPECT_FALSE(state.ignoreNextChange);
    clickCell(1, kColTransmitterId);
    EXPECT_EQ(title(), "Editor - ids.vlt");
    clickCell(2, kColTransmitterId);
    EXPECT_EQ(title(), "Editor - ids.vlt *");
    EXPECT_EQ(box(EditBox::TransId)->currentText().toStdString(), "2B");
    EXPECT_EQ(state.grid.cell(2, kColTransmitterId), "2B");
}

TEST_F(EditBoxes, TypedTextIsNeverWrittenIntoTheGrid) {
    newDocument("mnuNewConfig");
    clickCell(3, kColTransChan);
    QLineEdit* edit = box(EditBox::Channel)->lineEdit();
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("9"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(state.grid.cell(3, kColTransChan), "");
    EXPECT_EQ(box(EditBox::Channel)->count(), 5);
    EXPECT_EQ(title(), "Editor -  *"); // typing is a change
}

TEST_F(EditBoxes, ScrollingHidesTheBoxAndWritesNothing) {
    window.resize(500, 200);
    newDocument("mnuExtender");
    clickCell(1, kColTransChan);
    ASSERT_TRUE(box(EditBox::Channel)->isVisible());
    grid()->scrollToBottom();
    EXPECT_FALSE(box(EditBox::Channel)->isVisible());
    EXPECT_EQ(state.grid.cell(1, kColTransChan), "");
}

TEST_F(EditBoxes, KeyboardEditsACellLikeAClickAndEscapeLeavesIt) {
    newDocument("mnuNewConfig");
    grid()->setFocus();
    grid()->setCurrentIndex(grid()->model()->index(0, 0));
    QTest::keyClick(grid(), Qt::Key_Right);
    QTest::keyClick(grid(), Qt::Key_Down);
    QTest::keyClick(grid(), Qt::Key_F2);
    QComboBox* channel = box(EditBox::Channel);
    ASSERT_TRUE(channel->isVisible());
    EXPECT_TRUE(channel->view()->isVisible());
    QTest::keyClick(channel->view(), Qt::Key_3);
    QTest::keyClick(channel->view(), Qt::Key_Return);
    EXPECT_EQ(state.grid.cell(2, kColTransChan), "3");
    EXPECT_FALSE(channel->isVisible());

    QTest::keyClick(grid(), Qt::Key_Right);
    QTest::keyClick(grid(), Qt::Key_Down, Qt::AltModifier);
    QComboBox* analog = box(EditBox::DataAnalog);
    ASSERT_TRUE(analog->view()->isVisible());
    QTest::keyClick(analog->view(), Qt::Key_Down);
    QTest::keyClick(analog->view(), Qt::Key_Escape);
    EXPECT_FALSE(analog->isVisible());
    EXPECT_EQ(state.grid.cell(2, kColDataFormat), "");
}

} // namespace
} // namespace kym
