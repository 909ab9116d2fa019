#pragma once

#include "transfer/ProgrammingRecord.h"

#include <QDialog>
#include <filesystem>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

namespace kym {

// File > Programming Record: the record as a table, newest send first. Open File (or a double
// click) chooses the selected line's configuration file and closes the window with Accepted;
// the main window then opens it.
class frmRecord : public QDialog {
    Q_OBJECT
public:
    explicit frmRecord(const ProgrammingRecord& record, QWidget* parent = nullptr);

    const std::filesystem::path& chosenFile() const { return chosenFile_; }

private Q_SLOTS:
    void btnOpenFile_Click();

private:
    void createControls();
    void layOut();
    void connectHandlers();
    void showState();

    std::filesystem::path recordFile_;
    std::vector<RecordEntry> newestFirst_;
    std::string readProblem_;
    std::filesystem::path chosenFile_;

    QLabel* lblRecordFile_ = nullptr;
    QTableWidget* tblRecord_ = nullptr;
    QPushButton* btnOpenFile_ = nullptr;
    QPushButton* btnClose_ = nullptr;
};

} // namespace kym
