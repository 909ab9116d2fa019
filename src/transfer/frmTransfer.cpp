#include "transfer/frmTransfer.h"

#include "config/Conversions.h"
#include "config/Paths.h"
#include "transfer/Frames.h"
#include "ui/DialogParts.h"
#include "ui/Text.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

namespace kym {
namespace {

QLineEdit* makeStatusBox(QWidget* parent, const char* objectName, const QString& label) {
    QLineEdit* box = makeLineEdit(parent, objectName, label);
    box->setReadOnly(true);
    return box;
}

// The background of a status box; the two system colours come from the palette.
QColor boxBackground(BoxColour colour, const QPalette& system) {
    switch (colour) {
    case BoxColour::Green:
        return QColor(0, 255, 0);
    case BoxColour::Red:
        return QColor(255, 0, 0);
    case BoxColour::Dark:
        return QColor(15, 15, 0);
    case BoxColour::Desktop:
        return system.color(QPalette::Dark);
    case BoxColour::WindowBackground:
        break;
    }
    return system.color(QPalette::Base);
}

} // namespace

// The Comm Port list, which looks for ports again each time it opens.
class PortChoiceBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> opening;

    void showPopup() override {
        if (opening)
            opening();
        QComboBox::showPopup();
    }
};

frmTransfer::frmTransfer(ProgramState& state, Services services, std::unique_ptr<SerialPort> port,
                         QWidget* parent)
    : QDialog(parent), services_(std::move(services)), session_(state.selectedUnit),
      record_(services_.folders.programmingRecord()), MSComm1_(std::move(port)) {
    setObjectName(QStringLiteral("frmTransfer"));
    setWindowTitle(QStringLiteral("File Transfer"));
    createControls();
    layOut();
    connectHandlers();
    Form_Load();
}

void frmTransfer::createControls() {
    Frame2_ = makeFrame(this, "Frame2", QStringLiteral("Serial Port"));
    portChoice_ = new PortChoiceBox(Frame2_);
    makeEditableCombo(portChoice_, "portChoice", QStringLiteral("Comm Port"));
    // Adapters come and go while the window is open; looking costs well under a millisecond.
    portPoll_ = new QTimer(this);
    portPoll_->setInterval(2000);
    openPort_ = makeButton(this, "openPort", QStringLiteral("Open Port"));
    closePort_ = makeButton(this, "closePort", QStringLiteral("Close Port"));

    Frame3_ = makeFrame(this, "Frame3", QStringLiteral("Comm Status"));
    txtStatus_ = makeStatusBox(Frame3_, "txtStatus", QStringLiteral("Comm Status: port"));
    txtCommStatus_ = makeStatusBox(Frame3_, "txtCommStatus", QStringLiteral("Comm Status: link"));
    btnClearStatus_ = makeButton(this, "btnClearStatus", QStringLiteral("Clear Status"));
    txtTraffic_ = named(new QPlainTextEdit(this), "txtTraffic", QStringLiteral("Traffic"));
    txtTraffic_->setReadOnly(true);
    txtTraffic_->setMaximumBlockCount(2000);
    txtTraffic_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtTraffic_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    btnSelect_ = makeButton(this, "btnSelect", QStringLiteral("Select File to Send"));
    txtFileName_ = makeStatusBox(this, "txtFileName", QStringLiteral("File Name"));
    txtFileStatus_ = makeStatusBox(this, "txtFileStatus", QStringLiteral("File Status"));
    btnSendFile_ = makeButton(this, "btnSendFile", QStringLiteral("Send File"));
    btnGetFile_ = makeButton(this, "btnGetFile",
                             QStringLiteral("Get File (returned as ") +
                                 toQt(utf8Of(services_.folders.gatewayDownload())));
    btnCancel_ = makeButton(this, "btnCancel", QStringLiteral("Cancel"));

    ExtenderFrame_ = makeFrame(this, "ExtenderFrame", QStringLiteral("Extended System"));
    optMainUnit_ = makeOption(ExtenderFrame_, "optMainUnit", QStringLiteral("Main Unit"));
    optExt1_ = makeOption(ExtenderFrame_, "optExt1", QStringLiteral("Extended Unit 1"));
    optExt2_ = makeOption(ExtenderFrame_, "optExt2", QStringLiteral("Extended Unit 2"));
}

void frmTransfer::layOut() {
    auto* port = new QHBoxLayout(Frame2_);
    port->addWidget(makeLabel(Frame2_, "Label2", QStringLiteral("Comm Port"), portChoice_));
    port->addWidget(portChoice_, 1);

    auto* status = new QVBoxLayout(Frame3_);
    status->addWidget(txtStatus_);
    status->addWidget(txtCommStatus_);

    auto* units = new QVBoxLayout(ExtenderFrame_);
    units->addWidget(makeLabel(ExtenderFrame_, "Label1",
                               QStringLiteral("SELECT UNIT TO BE PROGRAMMED"), nullptr));
    units->addWidget(optMainUnit_);
    units->addWidget(optExt1_);
    units->addWidget(optExt2_);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Frame2_, 0, 0, 1, 2);
    layout->addWidget(openPort_, 0, 2);
    layout->addWidget(closePort_, 0, 3);
    layout->addWidget(Frame3_, 1, 0, 1, 3);
    layout->addWidget(btnClearStatus_, 1, 3);
    layout->addWidget(makeLabel(this, "lblTraffic", QStringLiteral("Traffic"), txtTraffic_), 2, 0);
    layout->addWidget(txtTraffic_, 3, 0, 1, 4);
    layout->addWidget(btnSelect_, 4, 0, 1, 2);
    layout->addWidget(makeLabel(this, "lblFileName", QStringLiteral("File Name"), txtFileName_), 5,
                      0);
    layout->addWidget(txtFileName_, 5, 1, 1, 3);
    layout->addWidget(makeLabel(this, "Label3", QStringLiteral("File Status"), txtFileStatus_), 6,
                      0);
    layout->addWidget(txtFileStatus_, 6, 1, 1, 3);
    layout->addWidget(ExtenderFrame_, 7, 0, 1, 4);
    layout->addWidget(btnSendFile_, 8, 0);
    layout->addWidget(btnGetFile_, 8, 1, 1, 2);
    layout->addWidget(btnCancel_, 8, 3);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(3, 1);
    resize(620, 560);
}

void frmTransfer::connectHandlers() {
    connect(openPort_, &QPushButton::clicked, this, &frmTransfer::openPort_Click);
    connect(closePort_, &QPushButton::clicked, this, &frmTransfer::closePort_Click);
    connect(btnSelect_, &QPushButton::clicked, this, &frmTransfer::btnSelect_Click);
    connect(btnSendFile_, &QPushButton::clicked, this, &frmTransfer::btnSendFile_Click);
    connect(btnClearStatus_, &QPushButton::clicked, this, &frmTransfer::btnClearStatus_Click);
    connect(btnCancel_, &QPushButton::clicked, this, &frmTransfer::btnCancel_Click);
    connect(optMainUnit_, &QRadioButton::clicked, this, &frmTransfer::optMainUnit_Click);
    connect(optExt1_, &QRadioButton::clicked, this, &frmTransfer::optExt1_Click);
    connect(optExt2_, &QRadioButton::clicked, this, &frmTransfer::optExt2_Click);
    connect(portPoll_, &QTimer::timeout, this, &frmTransfer::portPoll_Timer);
    portChoice_->opening = [this] { refreshPorts(); };

    connect(&MSComm1_, &SerialLink::waitEnded, this, &frmTransfer::waitEnded);
    connect(&MSComm1_, &SerialLink::sendEnded, this, &frmTransfer::sendFinished);
    connect(&MSComm1_, &SerialLink::portLost, this, &frmTransfer::portLost);
    connect(&MSComm1_, &SerialLink::frameSent, this,
            [this](const QByteArray& frame) { logTraffic(QStringLiteral("sent"), frame); });
    connect(&MSComm1_, &SerialLink::bytesReceived, this,
            [this](const QByteArray& bytes) { logTraffic(QStringLiteral("received"), bytes); });
}

void frmTransfer::Form_Load() {
    systemPalette_ = txtStatus_->palette();
    btnGetFile_->setEnabled(false);
    detectedPorts_ = MSComm1_.detectedPorts();
    for (const auto& entry : portEntries(detectedPorts_))
        portChoice_->addItem(toQt(entry));
    portChoice_->setCurrentIndex(0);
    portChoice_->setEnabled(true);
    portPoll_->start();
    showState();
}

// The list is not rebuilt under the user's eyes; it is looked at again when it opens.
void frmTransfer::portPoll_Timer() {
    if (!portChoice_->view()->isVisible())
        refreshPorts();
}

void frmTransfer::refreshPorts() {
    std::vector<std::string> detected = MSComm1_.detectedPorts();
    if (detected == detectedPorts_)
        return;
    for (const auto& note : portChangeNotes(detectedPorts_, detected, session_.openLocation()))
        logTraffic(toQt(note), {});
    detectedPorts_ = std::move(detected);
    const QString chosen = portChoice_->currentText();
    portChoice_->clear();
    for (const auto& entry : portEntries(detectedPorts_))
        portChoice_->addItem(toQt(entry));
    if (const int index = portChoice_->findText(chosen); index >= 0)
        portChoice_->setCurrentIndex(index);
    else
        portChoice_->setEditText(chosen);
}

// Closing the window in any way stops a running send and releases the port.
void frmTransfer::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

void frmTransfer::Form_Unload() {
    const bool wasSending = MSComm1_.sending();
    MSComm1_.stop();
    MSComm1_.close();
    if (wasSending) {
        session_.sendEnded();
        Q_EMIT sendEnded();
    }
}

void frmTransfer::openPort_Click() {
    if (MSComm1_.isOpen())
        return;
    const PortAddress port = resolvePort(fromQt(portChoice_->currentText()), detectedPorts_);
    if (MSComm1_.open(port)) {
        session_.portOpened(port);
    } else {
        session_.portOpenFailed(port, MSComm1_.openFailure(), MSComm1_.errorString());
        logTraffic(toQt(session_.portProblem()), {});
    }
    showState();
}

void frmTransfer::closePort_Click() {
    if (!MSComm1_.isOpen())
        return;
    MSComm1_.close();
    session_.portClosed();
    showState();
}

void frmTransfer::btnSelect_Click() {
    const std::filesystem::path folder = services_.folders.kym3815();
    const auto chosen = services_.fileDialogs.openFile(
        {"Select File", "Config files " + utf8Of(folder / "*.vlt"), "*.vlt", folder, ""});
    if (!chosen)
        return;
    txtFileName_->setText(toQt(utf8Of(*chosen)));
    LoadSelectedFile();
}

void frmTransfer::LoadSelectedFile() {
    const std::string path = fromQt(txtFileName_->text());
    if (path.empty())
        return;
    session_.fileRead(path, readConfigurationBytes(pathFromUtf8(path)));
    showState();
    const std::string& problem = session_.fileProblem();
    if (!problem.empty()) {
        logTraffic(toQt(problem), {});
        services_.prompter.warn(problem);
    }
}

void frmTransfer::btnSendFile_Click() {
    auto sequence = session_.SendImage();
    showState();
    if (sequence)
        MSComm1_.send(std::move(*sequence));
}

void frmTransfer::btnClearStatus_Click() {
    session_.clearStatus();
    txtTraffic_->clear();
    showState();
}

void frmTransfer::btnCancel_Click() {
    reject();
}

void frmTransfer::optMainUnit_Click() {
    chooseUnit(kMainUnit);
}
void frmTransfer::optExt1_Click() {
    chooseUnit(kExtendedUnit1);
}
void frmTransfer::optExt2_Click() {
    chooseUnit(kExtendedUnit2);
}

void frmTransfer::chooseUnit(int unit) {
    session_.chooseUnit(unit);
    showState();
}

void frmTransfer::waitEnded(SendSequence::Verdict verdict) {
    session_.waitEnded(verdict);
    writeRecord();
    showState();
}

void frmTransfer::writeRecord() {
    if (auto entry = session_.takeRecordEntry()) {
        const auto written = record_.append(*entry);
        session_.recordWritten(written);
        if (!written)
            logTraffic(toQt(written.error().reason), {});
    }
}

void frmTransfer::sendFinished() {
    session_.sendEnded();
    showState();
    Q_EMIT sendEnded();
}

void frmTransfer::portLost(const QString& reason) {
    const bool wasSending = session_.sending();
    session_.portLost(fromQt(reason));
    writeRecord();
    logTraffic(QStringLiteral("port lost: ") + reason, {});
    showState();
    if (wasSending)
        Q_EMIT sendEnded();
}

void frmTransfer::logTraffic(const QString& what, const QByteArray& bytes) {
    const auto* raw = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    const std::string hex = hexText({raw, static_cast<std::size_t>(bytes.size())});
    txtTraffic_->appendPlainText(QTime::currentTime().toString(QStringLiteral("hh:mm:ss.zzz")) +
                                 QLatin1Char(' ') + what.leftJustified(9) + toQt(hex));
}

void frmTransfer::showState() {
    showBox(txtStatus_, session_.portStatus());
    txtStatus_->setToolTip(toQt(session_.portProblem()));
    showBox(txtFileStatus_, session_.fileStatus());
    showBox(txtCommStatus_, session_.commStatus());
    txtCommStatus_->setToolTip(toQt(session_.recordProblem()));
    openPort_->setEnabled(session_.openPortEnabled());
    closePort_->setEnabled(session_.closePortEnabled());
    btnSendFile_->setEnabled(session_.sendFileEnabled());
    btnSelect_->setEnabled(session_.selectFileEnabled());
    ExtenderFrame_->setVisible(session_.extenderVisible());
    const int unit = session_.selectedUnit();
    if (QRadioButton* chosen = unit == kMainUnit        ? optMainUnit_
                               : unit == kExtendedUnit1 ? optExt1_
                               : unit == kExtendedUnit2 ? optExt2_
                                                        : nullptr)
        chosen->setChecked(true);
}

void frmTransfer::showBox(QLineEdit* box, const StatusBox& status) {
    box->setText(toQt(status.text));
    QPalette palette = systemPalette_;
    if (status.colour == BoxColour::WindowBackground) {
        box->setPalette(palette);
        return;
    }
    const QColor background = boxBackground(status.colour, systemPalette_);
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Text,
                     background.lightness() < 128 ? QColor(Qt::white) : QColor(Qt::black));
    box->setPalette(palette);
}

} // namespace kym
