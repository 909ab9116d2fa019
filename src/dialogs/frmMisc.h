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
    QGroupBox *Frame1_, *Frame2_, *Frame3_, *Frame4_, *Frame5_, *Frame6_;
    QComboBox *cboTime_, *cboCaptureTime_, *cboNetworkID_;
    QComboBox *cboVendorCodeMSB_, *cboVendorCodeLSB_, *cboPropCodeMSB_, *cboPropCodeLSB_;
    QRadioButton *optLastState_, *optOffState_, *optTimeMinutes_, *optTimeSeconds_;
    QRadioButton *optMonitor_, *optMonitorNot_;
    QPushButton *btnOK_, *btnCancel_;
};

} // namespace kym
