#include "gateway/frmProperties.h"

#include "ui/DialogParts.h"
#include "ui/Text.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kym {
namespace {

void fill(QComboBox* combo, std::initializer_list<const char*> entries, const std::string& text) {
    for (const char* entry : entries)
        combo->addItem(QString::fromLatin1(entry));
    combo->setCurrentText(toQt(text));
}

} // namespace

frmProperties::frmProperties(ProgramState& state, Prompter& prompter, QWidget* parent)
    : QDialog(parent), state_(state), prompter_(prompter) {
    setObjectName(QStringLiteral("frmProperties"));
    setWindowTitle(QStringLiteral("Serial Comm Port"));

    auto* properties = makeFrame(this, "", QStringLiteral("Properties"));
    auto* speedFrame = makeFrame(properties, "", QStringLiteral("Maximum Speed"));
    cboSpeed_ = makeEditableCombo(speedFrame, "cboSpeed", QStringLiteral("Maximum Speed"));
    (new QVBoxLayout(speedFrame))->addWidget(cboSpeed_);

    auto* preferences = makeFrame(properties, "", QStringLiteral("Connection Preferences"));
    cboDataBits_ = makeEditableCombo(preferences, "cboDataBits", QStringLiteral("Data Bits:"));
    cboParity_ = makeEditableCombo(preferences, "cboParity", QStringLiteral("Parity:"));
    cboStopBits_ = makeEditableCombo(preferences, "cboStopBits", QStringLiteral("Stop Bits:"));
    auto* preferenceRows = new QFormLayout(preferences);
    preferenceRows->addRow(QStringLiteral("Data Bits:"), cboDataBits_);
    preferenceRows->addRow(QStringLiteral("Parity:"), cboParity_);
    preferenceRows->addRow(QStringLiteral("Stop Bits:"), cboStopBits_);

    auto* transport = makeFrame(properties, "", QStringLiteral("Modbus Transport"));
    optASCII_ = makeOption(transport, "optASCII", QStringLiteral("ASCII"));
    optRTU_ = makeOption(transport, "optRTU", QStringLiteral("RTU"));
    // The two options are set by their handlers, so that neither may be on.
    for (QRadioButton* option : {optASCII_, optRTU_})
        option->setAutoExclusive(false);
    auto* options = new QHBoxLayout(transport);
    options->addWidget(optASCII_);
    options->addWidget(optRTU_);

    auto* frames = new QVBoxLayout(properties);
    frames->addWidget(speedFrame);
    frames->addWidget(preferences);
    frames->addWidget(transport);

    cmdOK_ = makeButton(this, "cmdOK", QStringLiteral("OK"));
    cmdCancel_ = makeButton(this, "cmdCancel", QStringLiteral("Cancel"));
    auto* content = new QVBoxLayout;
    content->addWidget(properties);
    layOutWithButtons(this, content, cmdOK_, cmdCancel_);

    connect(optASCII_, &QRadioButton::clicked, this, &frmProperties::optASCII_Click);
    connect(optRTU_, &QRadioButton::clicked, this, &frmProperties::optRTU_Click);
    connect(cmdOK_, &QPushButton::clicked, this, &frmProperties::cmdOK_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmProperties::cmdCancel_Click);
    Form_Load();
}

void frmProperties::Form_Load() {
    adjustSize();
    if (const QScreen* screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        move(available.left() + (available.width() - width()) / 2,
             available.top() + (available.height() - height()) / 2);
    }
    LoadPropertySettings();
}

void frmProperties::LoadPropertySettings() {
    const GatewaySettings& gateway = state_.gateway;
    fill(cboSpeed_, {"9600", "19200", "38400"}, gateway.gatewayBaud);
    fill(cboDataBits_, {"7", "8"}, gateway.gatewayDataBits);
    fill(cboParity_, {"EVEN", "ODD", "NONE"}, gateway.gatewayParity);
    fill(cboStopBits_, {"1", "2"}, gateway.gatewayStopBits);
    optASCII_->setChecked(gateway.physicalLayer == "ASCII");
    optRTU_->setChecked(gateway.physicalLayer == "RTU");
}

void frmProperties::optASCII_Click() {
    optASCII_->setChecked(true);
    optRTU_->setChecked(false);
}

void frmProperties::optRTU_Click() {
    optRTU_->setChecked(true);
    optASCII_->setChecked(false);
}

void frmProperties::cmdOK_Click() {
    state_.document.documentChanged = true;
    if (optASCII_->isChecked() || optRTU_->isChecked()) {
        state_.gateway.physicalLayer = optASCII_->isChecked() ? "ASCII" : "RTU";
        storeSerialParameters();
        accept();
    } else if (prompter_.show(std::string(kSelectTransport), Prompter::Buttons::OkCancel) ==
               Prompter::Answer::Ok) {
        reject();
    }
}

void frmProperties::cmdCancel_Click() {
    reject();
}

void frmProperties::storeSerialParameters() {
    GatewaySettings& gateway = state_.gateway;
    gateway.gatewayBaud = fromQt(cboSpeed_->currentText());
    gateway.gatewayDataBits = fromQt(cboDataBits_->currentText());
    gateway.gatewayParity = fromQt(cboParity_->currentText());
    gateway.gatewayStopBits = fromQt(cboStopBits_->currentText());
    gateway.gatewayFlowControl = "NONE";
}

} // namespace kym
