#pragma once

#include "config/ProgramState.h"

#include <QDialog>

class QComboBox;
class QRadioButton;

namespace kym {

class Prompter;

// The Options dialog: the header settings that are not part of the grid. It shows the document's
// values when it opens; OK stores every control's value and marks the document changed, Cancel
// stores nothing.
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
    void connectHandlers();
    void Form_Load();

    ProgramState& state_;
    Prompter& prompter_;
    QComboBox *cboTime_, *cboCaptureTime_, *cboNetworkID_;
    QComboBox *cboVendorCodeMSB_, *cboVendorCodeLSB_, *cboPropCodeMSB_, *cboPropCodeLSB_;
    QRadioButton *optLastState_, *optOffState_, *optTimeMinutes_, *optTimeSeconds_;
    QRadioButton *optMonitor_, *optMonitorNot_;
};

} // namespace kym
