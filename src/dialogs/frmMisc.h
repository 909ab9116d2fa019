#pragma once

#include "config/Options.h"
#include "config/ProgramState.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace kym {

class Prompter;

// The Options dialog: the header settings that are not part of the grid. It shows the document's
// values when it opens; OK stores every control's value, Cancel stores nothing. The main window
// marks the document changed on every OK, also one that changed nothing.
class frmMisc : public QDialog {
    Q_OBJECT
public:
    frmMisc(ProgramState& state, Prompter& prompter, QWidget* parent = nullptr);

private Q_SLOTS:
    void btnOK_Click();
    void btnCancel_Click();
    void optLastState_Click();
    void optOffState_Click();
    void optTimeMinutes_Click();
    void optTimeSeconds_Click();

private:
    void createControls();
    void layOut();
    void connectHandlers();
    void Form_Load();
    // Copies the values into the controls; the lists must be filled.
    void showState(const OptionValues& values);
    OptionValues shownValues() const;

    ProgramState& state_;
    Prompter& prompter_;
    QGroupBox *Frame1_ = nullptr, *Frame2_ = nullptr, *Frame3_ = nullptr, *Frame4_ = nullptr,
              *Frame5_ = nullptr, *Frame6_ = nullptr;
    QComboBox *cboTime_ = nullptr, *cboCaptureTime_ = nullptr, *cboNetworkID_ = nullptr;
    QComboBox *cboVendorCodeMSB_ = nullptr, *cboVendorCodeLSB_ = nullptr,
              *cboPropCodeMSB_ = nullptr, *cboPropCodeLSB_ = nullptr;
    QRadioButton *optLastState_ = nullptr, *optOffState_ = nullptr, *optTimeMinutes_ = nullptr,
                 *optTimeSeconds_ = nullptr;
    QRadioButton *optMonitor_ = nullptr, *optMonitorNot_ = nullptr;
    QPushButton *btnOK_ = nullptr, *btnCancel_ = nullptr;
};

} // namespace kym
