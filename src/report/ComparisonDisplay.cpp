#include "report/ComparisonDisplay.h"

#include "config/CodePage.h"
#include "config/Paths.h"
#include "report/frmComparison.h"

#include <QAction>
#include <QWidget>

namespace kym {

ComparisonDisplay::ComparisonDisplay(const ProgramState& state, Services services, Grid grid,
                                     QAction& clearEntry, QWidget& window)
    : QObject(&window), state_(state), services_(std::move(services)), grid_(std::move(grid)),
      clearEntry_(clearEntry), window_(window) {}

void ComparisonDisplay::compareWith() {
    const auto path = services_.fileDialogs.openFile(
        {"Compare With", "Register configurations", "*.vlt", services_.folders.kym3815(), ""});
    if (!path)
        return;
    const auto other = readConfiguration(*path);
    if (!other) {
        services_.prompter.warn(locatedError(utf8Of(*path), other.error()));
        return;
    }
    show(utf8Of(path->filename()), compareConfigurations(state_, *other));
}

// Cells of the register table are marked; settings and rows only one file has are listed.
void ComparisonDisplay::show(const std::string& fileName, const ConfigurationDiff& diff) {
    clear();
    if (diff.empty()) {
        services_.prompter.inform("The configuration does not differ from " + fileName + ".");
        return;
    }
    CellMarks marks;
    std::vector<std::string> lines;
    for (const auto& setting : diff.settings)
        lines.push_back(settingLine(setting));
    for (const auto& cell : diff.cells) {
        if (cell.col > 0)
            marks[{cell.row, cell.col}] =
                fileName + ": " + (cell.theirs.empty() ? "(empty)" : utf8FromCp1252(cell.theirs));
        else
            lines.push_back(cell.line);
    }
    grid_.mark(std::move(marks));
    comparedHeader_ = state_.header;
    if (lines.empty())
        return;
    if (!settingsList_)
        settingsList_ = new frmComparison(&window_);
    settingsList_->showState(fileName, lines);
    settingsList_->show();
}

void ComparisonDisplay::clear() {
    comparedHeader_.reset();
    grid_.clear();
    if (settingsList_)
        settingsList_->hide();
    clearEntry_.setEnabled(false);
}

void ComparisonDisplay::showState() {
    if (comparedHeader_ && *comparedHeader_ != state_.header)
        clear();
    clearEntry_.setEnabled(comparedHeader_.has_value());
}

} // namespace kym
