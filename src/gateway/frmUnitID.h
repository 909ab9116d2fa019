#pragma once

#include "config/ProgramState.h"

#include <QDialog>

class QComboBox;
class QPushButton;

namespace kym {

// The gateway's Modbus unit identifier, picked from "1".."247" or typed.
class frmUnitID : public QDialog {
    Q_OBJECT
public:
    explicit frmUnitID(ProgramState& state, QWidget* parent = nullptr);

private Q_SLOTS:
    void btnOK_Click();
    void btnCancel_Click();

private:
    void Form_Load();

    ProgramState& state_;
    QComboBox* ComboUnitID_ = nullptr;
    QPushButton* btnOK_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
};

} // namespace kym
