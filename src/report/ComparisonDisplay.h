#pragma once

#include "config/ProgramState.h"
#include "report/Comparison.h"
#include "ui/Services.h"

#include <QObject>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

class QAction;
class QWidget;

namespace kym {

class frmComparison;

// A comparison of the open document with a file: the cells that differ are marked in the grid,
// the settings that differ are listed in frmComparison. It lasts until it is cleared, until the
// grid changes (the grid drops its marks and says so) or until our settings change.
class ComparisonDisplay : public QObject {
public:
    // Cells by grid row and column, each with the note the grid shows for it.
    using CellMarks = std::map<std::pair<int, int>, std::string>;
    // The grid that shows the marks.
    struct Grid {
        std::function<void(CellMarks)> mark;
        std::function<void()> clear;
    };

    // clearEntry is enabled while a comparison is shown; the list of settings is a window of
    // window's.
    ComparisonDisplay(const ProgramState& state, Services services, Grid grid, QAction& clearEntry,
                      QWidget& window);

    // Asks for a file and shows how the document differs from it; a file that cannot be read or
    // that does not differ is reported.
    void compareWith();
    void clear();
    // A comparison made before the settings changed is stale and ends.
    void showState();

private:
    void show(const std::string& fileName, const ConfigurationDiff& diff);

    const ProgramState& state_;
    Services services_;
    Grid grid_;
    QAction& clearEntry_;
    QWidget& window_;
    frmComparison* settingsList_ = nullptr;        // made at the first comparison that needs it
    std::optional<HeaderSettings> comparedHeader_; // our settings when the comparison was made
};

} // namespace kym
