#pragma once

#include "config/ProgramState.h"
#include "ui/Prompter.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace kym {

inline constexpr std::string_view kSelectTransport =
    "A Valid Transport needs to be selected to retain values";

// The gateway's serial port parameters and Modbus transport. The parameters are kept only with
// a transport chosen.
class frmProperties : public QDialog {
    Q_OBJECT
public:
    frmProperties(ProgramState& state, Prompter& prompter, QWidget* parent = nullptr);

    // Fills the lists and shows the current settings.
    void LoadPropertySettings();

private Q_SLOTS:
    void optASCII_Click();
    void optRTU_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

private:
    void Form_Load();
    // The Properties frame with its three frames: speed, connection preferences, transport.
    QGroupBox* createPropertiesFrame();
    void storeSerialParameters();

    ProgramState& state_;
    Prompter& prompter_;
    QComboBox* cboSpeed_ = nullptr;
    QComboBox* cboDataBits_ = nullptr;
    QComboBox* cboParity_ = nullptr;
    QComboBox* cboStopBits_ = nullptr;
    QRadioButton* optASCII_ = nullptr;
    QRadioButton* optRTU_ = nullptr;
    QButtonGroup* transports_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};

} // namespace kym
