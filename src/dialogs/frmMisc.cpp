#include "dialogs/frmMisc.h"

#include "ui/DialogParts.h"
#include "ui/Prompter.h"
#include "ui/Text.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kym {
namespace {

// The lists and typed texts are header settings: file text.
void fill(QComboBox* box, const std::vector<std::string>& entries) {
    for (const auto& entry : entries)
        box->addItem(fileTextToQt(entry));
}

void showChoice(QComboBox* box, const ListChoice& choice) {
    box->setCurrentIndex(choice.position);
    if (choice.position < 0)
        box->setEditText(fileTextToQt(choice.text));
}

ListChoice shownChoice(const QComboBox* box) {
    return {box->currentIndex(), fileTextFromQt(box->currentText())};
}

// A code's two byte lists in their frame, each with its label.
void layOutCode(QGroupBox* frame, QComboBox* msb, const char* msbLabel, QComboBox* lsb,
                const char* lsbLabel) {
    auto* layout = new QFormLayout(frame);
    layout->addRow(makeLabel(frame, msbLabel, QStringLiteral("MSByte"), msb), msb);
    layout->addRow(makeLabel(frame, lsbLabel, QStringLiteral("LSByte"), lsb), lsb);
}

} // namespace

frmMisc::frmMisc(ProgramState& state, Prompter& prompter, QWidget* parent)
    : QDialog(parent), state_(state), prompter_(prompter) {
    setObjectName(QStringLiteral("frmMisc"));
    setWindowTitle(QStringLiteral("Options"));
    createControls();
    layOut();
    connectHandlers();
    Form_Load();
}

void frmMisc::createControls() {
    Frame1_ = makeFrame(this, "Frame1", QStringLiteral("Output State on Loss of Transmitter"));
    optLastState_ = makeOption(Frame1_, "optLastState", QStringLiteral("Last"));
    optOffState_ = makeOption(Frame1_, "optOffState", QStringLiteral("Off"));

    Frame3_ = makeFrame(this, "Frame3", QStringLiteral("Digital Capture Time"));
    cboCaptureTime_ =
        makeEditableCombo(Frame3_, "cboCaptureTime", QStringLiteral("Digital Capture Time"));
    optTimeMinutes_ = makeOption(Frame3_, "optTimeMinutes", QStringLiteral("Minutes"));
    optTimeSeconds_ = makeOption(Frame3_, "optTimeSeconds", QStringLiteral("Seconds"));

    Frame4_ = makeFrame(this, "Frame4", QStringLiteral("V Code"));
    cboVendorCodeMSB_ = makeCombo(Frame4_, "cboVendorCodeMSB", QStringLiteral("V Code MSByte"));
    cboVendorCodeLSB_ = makeCombo(Frame4_, "cboVendorCodeLSB", QStringLiteral("V Code LSByte"));
    Frame2_ = makeFrame(this, "Frame2", QStringLiteral("P Code"));
    cboPropCodeMSB_ = makeCombo(Frame2_, "cboPropCodeMSB", QStringLiteral("P Code MSByte"));
    cboPropCodeLSB_ = makeCombo(Frame2_, "cboPropCodeLSB", QStringLiteral("P Code LSByte"));

    Frame5_ = makeFrame(this, "Frame5", QStringLiteral("Series 9000"));
    cboNetworkID_ = makeEditableCombo(Frame5_, "cboNetworkID", QStringLiteral("Network ID"));
    Frame6_ = makeFrame(Frame5_, "Frame6", QStringLiteral("Device Network State"));
    optMonitor_ = makeOption(Frame6_, "optMonitor", QStringLiteral("Monitor Network ID"));
    optMonitorNot_ = makeOption(Frame6_, "optMonitorNot", QStringLiteral("Coordinate Network ID"));

    cboTime_ = makeEditableCombo(this, "cboTime", QStringLiteral("Transmitter Timeout (min)"));
    btnOK_ = makeButton(this, "btnOK", QStringLiteral("OK"));
    btnCancel_ = makeButton(this, "btnCancel", QStringLiteral("Cancel"));
}

void frmMisc::layOut() {
    auto* lossState = new QHBoxLayout(Frame1_);
    lossState->addWidget(optLastState_);
    lossState->addWidget(optOffState_);

    auto* capture = new QHBoxLayout(Frame3_);
    capture->addWidget(cboCaptureTime_);
    capture->addWidget(optTimeMinutes_);
    capture->addWidget(optTimeSeconds_);

    layOutCode(Frame4_, cboVendorCodeMSB_, "Label3", cboVendorCodeLSB_, "Label4");
    layOutCode(Frame2_, cboPropCodeMSB_, "Label1", cboPropCodeLSB_, "Label2");

    auto* networkState = new QVBoxLayout(Frame6_);
    networkState->addWidget(optMonitor_);
    networkState->addWidget(optMonitorNot_);
    auto* network = new QGridLayout(Frame5_);
    network->addWidget(makeLabel(Frame5_, "Label6", QStringLiteral("Network ID"), cboNetworkID_), 0,
                       0);
    network->addWidget(cboNetworkID_, 0, 1);
    network->addWidget(Frame6_, 1, 0, 1, 2);

    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(
        makeLabel(this, "lblTime", QStringLiteral("Transmitter Timeout (min)"), cboTime_));
    timeRow->addWidget(cboTime_);
    timeRow->addStretch();

    auto* content = new QGridLayout;
    content->addWidget(Frame1_, 0, 0);
    content->addWidget(Frame3_, 0, 1);
    content->addWidget(Frame4_, 1, 0);
    content->addWidget(Frame2_, 1, 1);
    content->addWidget(Frame5_, 2, 0, 1, 2);
    content->addLayout(timeRow, 3, 0, 1, 2);
    layOutWithButtons(this, content, btnOK_, btnCancel_);
}

void frmMisc::connectHandlers() {
    connect(btnOK_, &QPushButton::clicked, this, &frmMisc::btnOK_Click);
    connect(btnCancel_, &QPushButton::clicked, this, &frmMisc::btnCancel_Click);
    connect(optLastState_, &QRadioButton::clicked, this, &frmMisc::optLastState_Click);
    connect(optOffState_, &QRadioButton::clicked, this, &frmMisc::optOffState_Click);
    connect(optTimeMinutes_, &QRadioButton::clicked, this, &frmMisc::optTimeMinutes_Click);
    connect(optTimeSeconds_, &QRadioButton::clicked, this, &frmMisc::optTimeSeconds_Click);
}

void frmMisc::Form_Load() {
    fill(cboTime_, timeoutEntries());
    fill(cboCaptureTime_, captureEntries());
    const auto bytes = codeByteEntries();
    for (QComboBox* box : {cboPropCodeMSB_, cboPropCodeLSB_, cboVendorCodeMSB_, cboVendorCodeLSB_})
        fill(box, bytes);
    fill(cboNetworkID_, networkIdEntries());
    optMonitor_->setEnabled(true);
    optMonitorNot_->setEnabled(true);
    showState(loadOptions(state_.header));
}

void frmMisc::showState(const OptionValues& values) {
    showChoice(cboTime_, values.timeout);
    showChoice(cboCaptureTime_, values.capture);
    (values.lastState ? optLastState_ : optOffState_)->setChecked(true);
    (values.captureInMinutes ? optTimeMinutes_ : optTimeSeconds_)->setChecked(true);
    (values.monitor ? optMonitor_ : optMonitorNot_)->setChecked(true);
    cboPropCodeMSB_->setCurrentIndex(values.property.msb);
    cboPropCodeLSB_->setCurrentIndex(values.property.lsb);
    cboVendorCodeMSB_->setCurrentIndex(values.vendor.msb);
    cboVendorCodeLSB_->setCurrentIndex(values.vendor.lsb);
    showChoice(cboNetworkID_, values.networkID);
}

OptionValues frmMisc::shownValues() const {
    return {shownChoice(cboTime_),
            shownChoice(cboCaptureTime_),
            optTimeMinutes_->isChecked(),
            optLastState_->isChecked(),
            optMonitor_->isChecked(),
            {cboVendorCodeMSB_->currentIndex(), cboVendorCodeLSB_->currentIndex()},
            {cboPropCodeMSB_->currentIndex(), cboPropCodeLSB_->currentIndex()},
            shownChoice(cboNetworkID_)};
}

void frmMisc::optLastState_Click() {
    optLastState_->setChecked(true);
    optOffState_->setChecked(false);
}
void frmMisc::optOffState_Click() {
    optOffState_->setChecked(true);
    optLastState_->setChecked(false);
}
void frmMisc::optTimeMinutes_Click() {
    optTimeMinutes_->setChecked(true);
    optTimeSeconds_->setChecked(false);
}
void frmMisc::optTimeSeconds_Click() {
    optTimeSeconds_->setChecked(true);
    optTimeMinutes_->setChecked(false);
}

// A capture time or time-out the unit cannot take keeps the dialog open.
void frmMisc::btnOK_Click() {
    if (const auto stored = storeOptions(shownValues(), state_.header); !stored) {
        prompter_.warn(stored.error().reason);
        return;
    }
    accept();
}

void frmMisc::btnCancel_Click() {
    reject();
}

} // namespace kym
