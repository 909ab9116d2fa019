#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace kym {

// The small window beside the grid that lists the header settings in which the compared file
// differs; the cells that differ are marked in the grid itself.
class frmComparison : public QDialog {
    Q_OBJECT
public:
    explicit frmComparison(QWidget* parent = nullptr);

    // Shows the file compared with and one line per differing setting.
    void showState(const std::string& fileName, const std::vector<std::string>& lines);

private:
    void createControls();
    void layOut();

    QLabel* lblComparedWith_ = nullptr;
    QListWidget* lstSettings_ = nullptr;
    QPushButton* btnClose_ = nullptr;
};

} // namespace kym
