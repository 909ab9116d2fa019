#pragma once

#include "config/ProgramState.h"
#include "transfer/ProgrammingRecord.h"
#include "transfer/SerialLink.h"
#include "transfer/TransferSession.h"
#include "ui/Services.h"

#include <QDialog>
#include <memory>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace kym {

class PortChoiceBox;

// The File Transfer window: opens a serial port, compiles the file the user picks and sends it
// to the unit. A send runs on the event loop; meanwhile the window stays responsive but accepts
// no second send, no other file and no port change. Closing the window stops a send and
// releases the port.
class frmTransfer : public QDialog {
    Q_OBJECT
public:
    frmTransfer(ProgramState& state, Services services, std::unique_ptr<SerialPort> port,
                QWidget* parent = nullptr);

public Q_SLOTS:
    void done(int result) override;

Q_SIGNALS:
    // A send has ended: acknowledged, timed out or stopped by a lost port.
    void sendEnded();

private Q_SLOTS:
    void openPort_Click();
    void closePort_Click();
    void btnSelect_Click();
    void btnSendFile_Click();
    void btnClearStatus_Click();
    void btnCancel_Click();
    void optMainUnit_Click();
    void optExt1_Click();
    void optExt2_Click();
    void portPoll_Timer();

private:
    void Form_Load();
    void Form_Unload();
    void createControls();
    void layOut();
    void connectHandlers();
    void LoadSelectedFile();
    void chooseUnit(int unit);
    // Looks for ports again: the list follows, keeping what the user chose or typed, and the
    // traffic box says what came and went.
    void refreshPorts();
    void waitEnded(SendSequence::Verdict verdict);
    // Appends the send's line to the programming record; a failure shows in the traffic box and
    // the comm status tooltip and changes nothing else.
    void writeRecord();
    void sendFinished();
    void portLost(const QString& reason);
    void logTraffic(const QString& what, const QByteArray& bytes);
    // Copies the session's boxes, colours, enabled states and unit choice into the controls.
    void showState();
    void showBox(QLineEdit* box, const StatusBox& status);

    Services services_;
    TransferSession session_;
    ProgrammingRecord record_;
    SerialLink MSComm1_; // the port and the sends on it
    std::vector<std::string> detectedPorts_;
    QPalette systemPalette_;

    QGroupBox* Frame2_ = nullptr;
    PortChoiceBox* portChoice_ = nullptr;
    QTimer* portPoll_ = nullptr;
    QPushButton* openPort_ = nullptr;
    QPushButton* closePort_ = nullptr;
    QGroupBox* Frame3_ = nullptr;
    QLineEdit* txtStatus_ = nullptr;
    QLineEdit* txtCommStatus_ = nullptr;
    QPushButton* btnClearStatus_ = nullptr;
    QPlainTextEdit* txtTraffic_ = nullptr;
    QPushButton* btnSelect_ = nullptr;
    QLineEdit* txtFileName_ = nullptr;
    QLineEdit* txtFileStatus_ = nullptr;
    QPushButton* btnSendFile_ = nullptr;
    QPushButton* btnGetFile_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
    QGroupBox* ExtenderFrame_ = nullptr;
    QRadioButton* optMainUnit_ = nullptr;
    QRadioButton* optExt1_ = nullptr;
    QRadioButton* optExt2_ = nullptr;
};

} // namespace kym
