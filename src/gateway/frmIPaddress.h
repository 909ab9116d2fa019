#pragma once

#include "config/ProgramState.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace kym {

// The gateway's IP address and subnet mask. OK stores what the fields hold, unchecked.
class frmIPaddress : public QDialog {
    Q_OBJECT
public:
    explicit frmIPaddress(ProgramState& state, QWidget* parent = nullptr);

private Q_SLOTS:
    void btnOK_Click();
    void btnCancel_Click();

private:
    void Form_Load();

    ProgramState& state_;
    QLineEdit* Text1_ = nullptr;
    QLineEdit* txtSubnet_ = nullptr;
    QPushButton* btnOK_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
};

} // namespace kym
