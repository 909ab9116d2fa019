#include "editor/RegisterGridView.h"
#include "support/ConfigLines.h"
#include "support/MainWindowHarness.h"

#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <gtest/gtest.h>

namespace kym {
namespace {

using test::ConfigLines;

class CompareWindow : public testing::Test, public test::MainWindowHarness {
protected:
    CompareWindow() {
        test::writeFile(dir / "a.vlt", example.text());
        window.openFile(dir / "a.vlt");
        window.show();
    }
    void compareWith(const ConfigLines& other) {
        test::writeFile(dir / "b.vlt", other.text());
        dialogs.choices = {dir / "b.vlt"};
        trigger("mnuCompareWith");
    }
    RegisterGridView* grid() const { return window.MSFlexGrid1(); }
    QWidget* settingsWindow() const {
        return window.findChild<QWidget*>(QStringLiteral("frmComparison"));
    }
    std::string listed() const {
        const auto* list = window.findChild<QListWidget*>(QStringLiteral("lstSettings"));
        return list && list->count() ? list->item(0)->text().toStdString() : "";
    }

    ConfigLines example{"KYM3815", {"1A,1,COUNT,0,4095,;", ",,,,,;", "3C,2,,,,;"}};
};

TEST_F(CompareWindow, MarksDifferingCellsUntilTheNextChange) {
    ConfigLines other = example;
    other.rows[2] = "3D,2,,,,;";
    other.set("TIMEOUT", "45");
    const struct {
        const char* name;
        std::function<void()> change;
    } rows[] = {
        {"Clear Comparison", [&] { trigger("mnuClearComparison"); }},
        {"an edit", [&] { state.grid.setRow(1), state.grid.setText("1B"); }},
        {"New", [&] { newDocument("mnuNewConfig"); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        window.openFile(dir / "a.vlt");
        compareWith(other);
        const RegisterGridView::Marks marks{{{3, 1}, "b.vlt: 3D"}};
        EXPECT_EQ(grid()->marks(), marks);
        const QModelIndex cell = grid()->model()->index(2, 0);
        EXPECT_EQ(cell.data(Qt::ToolTipRole).toString().toStdString(), "b.vlt: 3D");
        EXPECT_TRUE(cell.data(Qt::BackgroundRole).isValid());
        EXPECT_FALSE(grid()->model()->index(0, 0).data(Qt::BackgroundRole).isValid());
        ASSERT_TRUE(settingsWindow());
        EXPECT_TRUE(settingsWindow()->isVisible());
        EXPECT_EQ(listed(), "TIMEOUT: 30 -> 45");

        row.change();
        EXPECT_TRUE(grid()->marks().empty());
        EXPECT_FALSE(settingsWindow()->isVisible());
        EXPECT_FALSE(action("mnuClearComparison")->isEnabled());
    }
}

TEST_F(CompareWindow, SameOrUnreadableFilesAreReported) {
    ConfigLines malformed = example;
    malformed.rows.resize(12, ",,,,,;");
    compareWith(example);
    compareWith(malformed);
    dialogs.choices = {dir / "missing.vlt"};
    trigger("mnuCompareWith");
    const std::vector<std::string> expected{
        "The configuration does not differ from b.vlt.",
        (dir / "b.vlt").string() + ":25: ROW_DATA count 12 is larger than the 8",
        (dir / "missing.vlt").string() + ": No such file or directory"};
    ASSERT_EQ(prompter.texts().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(prompter.texts()[i].substr(0, expected[i].size()), expected[i]);
    EXPECT_TRUE(grid()->marks().empty());
}

// Print goes through the printer the print dialog set up; Export PDF through a save dialog.
TEST_F(CompareWindow, PrintAndExportPdfWriteTheRecord) {
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
    // The PDF's text is checked by the export command's test.
    for (const auto& pdf : {printed, dir / "exported.pdf"})
        EXPECT_TRUE(test::readFile(pdf).starts_with("%PDF-")) << pdf;
}

} // namespace
} // namespace kym
