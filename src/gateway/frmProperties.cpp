#include "gateway/frmProperties.h"

#include "config/ProgramState.h"
#include "ui/DialogParts.h"
#include "ui/Text.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kym {
namespace {

void fill(QComboBox* combo, std::initializer_list<const char*> entries, const std::string& text) {
    for (const char* entry : entries)
        combo->addItem(toQt(entry));
    combo->setCurrentText(toQt(text));
}

} // namespace

frmProperties::frmProperties(ProgramState& state, Prompter& prompter, QWidget* parent)
    : QDialog(parent), state_(state), prompter_(prompter) {
    setObjectName(QStringLiteral("frmProperties"));
    setWindowTitle(QStringLiteral("Serial Comm Port"));
    cmdOK_ = makeButton(this, "cmdOK", QStringLiteral("OK"));
    cmdCancel_ = makeButton(this, "cmdCancel", QStringLiteral("Cancel"));
    auto* content = new QVBoxLayout;
    content->addWidget(createPropertiesFrame());
    layOutWithButtons(this, content, cmdOK_, cmdCancel_);

    connect(optASCII_, &QRadioButton::clicked, this, &frmProperties::optASCII_Click);
    connect(optRTU_, &QRadioButton::clicked, this, &frmProperties::optRTU_Click);
    connect(cmdOK_, &QPushButton::clicked, this, &frmProperties::cmdOK_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmProperties::cmdCancel_Click);
    Form_Load();
}

QGroupBox* frmProperties::createPropertiesFrame() {
    auto* properties = makeFrame(this, "fraProperties", QStringLiteral("Properties"));
    auto* speedFrame = makeFrame(properties, "fraSpeed", QStringLiteral("Maximum Speed"));
    cboSpeed_ = makeEditableCombo(speedFrame, "cboSpeed", QStringLiteral("Maximum Speed"));
    (new QVBoxLayout(speedFrame))->addWidget(cboSpeed_);

    auto* preferences =
        makeFrame(properties, "fraPreferences", QStringLiteral("Connection Preferences"));
    auto* rows = new QFormLayout(preferences);
    const auto addRow = [preferences, rows](const char* comboName, const char* labelName,
                                            const QString& caption) {
        QComboBox* combo = makeEditableCombo(preferences, comboName, caption);
        rows->addRow(makeLabel(preferences, labelName, caption + QStringLiteral(":"), combo),
                     combo);
        return combo;
    };
    cboDataBits_ = addRow("cboDataBits", "lblDataBits", QStringLiteral("Data Bits"));
    cboParity_ = addRow("cboParity", "lblParity", QStringLiteral("Parity"));
    cboStopBits_ = addRow("cboStopBits", "lblStopBits", QStringLiteral("Stop Bits"));

    auto* transport = makeFrame(properties, "fraTransport", QStringLiteral("Modbus Transport"));
    optASCII_ = makeOption(transport, "optASCII", QStringLiteral("ASCII"));
    optRTU_ = makeOption(transport, "optRTU", QStringLiteral("RTU"));
    transports_ = new QButtonGroup(this);
    auto* options = new QHBoxLayout(transport);
    for (QRadioButton* option : {optASCII_, optRTU_}) {
        transports_->addButton(option);
        options->addWidget(option);
    }

    auto* frames = new QVBoxLayout(properties);
    for (QGroupBox* frame : {speedFrame, preferences, transport})
        frames->addWidget(frame);
    return properties;
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
    // An exclusive group keeps one option on once one is; neither is on for a layer that is
    // neither transport.
    transports_->setExclusive(false);
    optASCII_->setChecked(gateway.physicalLayer == kAscii);
    optRTU_->setChecked(gateway.physicalLayer == kRtu);
    transports_->setExclusive(true);
}

void frmProperties::optASCII_Click() {
    optASCII_->setChecked(true);
    optRTU_->setChecked(false);
}

void frmProperties::optRTU_Click() {
    optRTU_->setChecked(true);
    optASCII_->setChecked(false);
}

// OK on the question closes the dialog as an OK that stored nothing.
void frmProperties::cmdOK_Click() {
    if (optASCII_->isChecked() || optRTU_->isChecked()) {
        state_.gateway.physicalLayer = optASCII_->isChecked() ? kAscii : kRtu;
        storeSerialParameters();
        accept();
    } else if (prompter_.show(std::string(kSelectTransport), Prompter::Buttons::OkCancel) ==
               Prompter::Answer::Ok) {
        accept();
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
