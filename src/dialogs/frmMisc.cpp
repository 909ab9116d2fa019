#include "dialogs/frmMisc.h"

#include "dialogs/Options.h"
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

QGroupBox* frame(QWidget* parent, const char* name, const char* caption) {
    return named(new QGroupBox(QString::fromLatin1(caption), parent), name, QString::fromLatin1(caption));
}

QRadioButton* option(QWidget* parent, const char* name, const char* caption) {
    return named(new QRadioButton(QString::fromLatin1(caption), parent), name, QString::fromLatin1(caption));
}

// A list of numbers first to last, as decimal texts.
QStringList numbers(int first, int last) {
    QStringList texts;
    for (int n = first; n <= last; ++n)
        texts.append(QString::number(n));
    return texts;
}

QStringList codeBytes() {
    QStringList texts;
    for (int index = 0; index < kCodeByteEntries; ++index)
        texts.append(toQt(codeByteEntry(index)));
    return texts;
}

// Shows a stored value: its list entry when it has one, otherwise the text with none selected.
void showValue(QComboBox* box, const std::string& value) {
    const int index = box->findText(toQt(value));
    box->setCurrentIndex(index);
    if (index < 0)
        box->setEditText(toQt(value));
}

} // namespace

frmMisc::frmMisc(ProgramState& state, Prompter& prompter, QWidget* parent)
    : QDialog(parent), state_(state), prompter_(prompter) {
    setObjectName(QStringLiteral("frmMisc"));
    setWindowTitle(QStringLiteral("Options"));
    createControls();
    connectHandlers();
    Form_Load();
}

void frmMisc::createControls() {
    cboTime_ = makeEditableCombo(this, "cboTime", QStringLiteral("Transmitter Timeout (min)"));
    cboCaptureTime_ = makeEditableCombo(this, "cboCaptureTime", QStringLiteral("Digital Capture Time"));
    cboNetworkID_ = makeEditableCombo(this, "cboNetworkID", QStringLiteral("Network ID"));
    const auto byteList = [this](const char* name, const char* label) {
        return named(new QComboBox(this), name, QString::fromLatin1(label));
    };
    cboVendorCodeMSB_ = byteList("cboVendorCodeMSB", "V Code MSByte");
    cboVendorCodeLSB_ = byteList("cboVendorCodeLSB", "V Code LSByte");
    cboPropCodeMSB_ = byteList("cboPropCodeMSB", "P Code MSByte");
    cboPropCodeLSB_ = byteList("cboPropCodeLSB", "P Code LSByte");

    auto* frame1 = frame(this, "Frame1", "Output State on Loss of Transmitter");
    optLastState_ = option(frame1, "optLastState", "Last");
    optOffState_ = option(frame1, "optOffState", "Off");
    auto* frame1Layout = new QHBoxLayout(frame1);
    frame1Layout->addWidget(optLastState_);
    frame1Layout->addWidget(optOffState_);

    auto* frame3 = frame(this, "Frame3", "Digital Capture Time");
    optTimeMinutes_ = option(frame3, "optTimeMinutes", "Minutes");
    optTimeSeconds_ = option(frame3, "optTimeSeconds", "Seconds");
    auto* frame3Layout = new QHBoxLayout(frame3);
    frame3Layout->addWidget(cboCaptureTime_);
    frame3Layout->addWidget(optTimeMinutes_);
    frame3Layout->addWidget(optTimeSeconds_);

    const auto byteFrame = [this](const char* name, const char* caption, QComboBox* msb,
                                  const char* msbLabel, QComboBox* lsb, const char* lsbLabel) {
        auto* box = frame(this, name, caption);
        auto* layout = new QFormLayout(box);
        layout->addRow(makeLabel(box, msbLabel, QStringLiteral("MSByte"), msb), msb);
        layout->addRow(makeLabel(box, lsbLabel, QStringLiteral("LSByte"), lsb), lsb);
        return box;
    };
    auto* frame4 = byteFrame("Frame4", "V Code", cboVendorCodeMSB_, "Label3", cboVendorCodeLSB_, "Label4");
    auto* frame2 = byteFrame("Frame2", "P Code", cboPropCodeMSB_, "Label1", cboPropCodeLSB_, "Label2");

    auto* frame5 = frame(this, "Frame5", "Series 9000");
    auto* label6 = makeLabel(frame5, "Label6", QStringLiteral("Network ID"), cboNetworkID_);
    auto* frame6 = frame(frame5, "Frame6", "Device Network State");
    optMonitor_ = option(frame6, "optMonitor", "Monitor Network ID");
    optMonitorNot_ = option(frame6, "optMonitorNot", "Coordinate Network ID");
    auto* frame6Layout = new QVBoxLayout(frame6);
    frame6Layout->addWidget(optMonitor_);
    frame6Layout->addWidget(optMonitorNot_);
    auto* frame5Layout = new QGridLayout(frame5);
    frame5Layout->addWidget(label6, 0, 0);
    frame5Layout->addWidget(cboNetworkID_, 0, 1);
    frame5Layout->addWidget(frame6, 1, 0, 1, 2);

    auto* lblTime = makeLabel(this, "lblTime", QStringLiteral("Transmitter Timeout (min)"), cboTime_);
    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(lblTime);
    timeRow->addWidget(cboTime_);
    timeRow->addStretch();

    auto* content = new QGridLayout;
    content->addWidget(frame1, 0, 0);
    content->addWidget(frame3, 0, 1);
    content->addWidget(frame4, 1, 0);
    content->addWidget(frame2, 1, 1);
    content->addWidget(frame5, 2, 0, 1, 2);
    content->addLayout(timeRow, 3, 0, 1, 2);
    layOutWithButtons(this, content, makeButton(this, "btnOK", QStringLiteral("OK")),
                      makeButton(this, "btnCancel", QStringLiteral("Cancel")));
}

// Every handler is connected here.
void frmMisc::connectHandlers() {
    connect(findChild<QPushButton*>(QStringLiteral("btnOK")), &QPushButton::clicked, this, &frmMisc::btnOK_Click);
    connect(findChild<QPushButton*>(QStringLiteral("btnCancel")), &QPushButton::clicked, this,
            &frmMisc::btnCancel_Click);
    connect(optLastState_, &QRadioButton::clicked, this, &frmMisc::optLastState_Click);
    connect(optOffState_, &QRadioButton::clicked, this, &frmMisc::optOffState_Click);
    connect(optTimeMinutes_, &QRadioButton::clicked, this, &frmMisc::optTimeMinutes_Click);
    connect(optTimeSeconds_, &QRadioButton::clicked, this, &frmMisc::optTimeSeconds_Click);
}

void frmMisc::Form_Load() {
    const OptionValues values = loadOptions(state_.header);
    cboTime_->addItems(numbers(1, kTimeoutEntries));
    showValue(cboTime_, values.timeout);
    cboCaptureTime_->addItems(numbers(0, kCaptureEntries - 1));
    showValue(cboCaptureTime_, values.capture);

    (values.lastState ? optLastState_ : optOffState_)->setChecked(true);
    (values.captureInMinutes ? optTimeMinutes_ : optTimeSeconds_)->setChecked(true);
    (values.monitor ? optMonitor_ : optMonitorNot_)->setChecked(true);
    optMonitor_->setEnabled(true);
    optMonitorNot_->setEnabled(true);

    const QStringList bytes = codeBytes();
    for (QComboBox* box : {cboPropCodeMSB_, cboPropCodeLSB_, cboVendorCodeMSB_, cboVendorCodeLSB_})
        box->addItems(bytes);
    cboPropCodeMSB_->setCurrentIndex(values.property.msb);
    cboPropCodeLSB_->setCurrentIndex(values.property.lsb);
    cboVendorCodeMSB_->setCurrentIndex(values.vendor.msb);
    cboVendorCodeLSB_->setCurrentIndex(values.vendor.lsb);

    cboNetworkID_->addItems(numbers(1, kNetworkIdEntries));
    cboNetworkID_->setCurrentIndex(-1);
    cboNetworkID_->setEditText(toQt(values.networkID));
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
    const OptionValues values{fromQt(cboTime_->currentText()),
                              fromQt(cboCaptureTime_->currentText()),
                              optTimeMinutes_->isChecked(),
                              optLastState_->isChecked(),
                              optMonitor_->isChecked(),
                              {cboVendorCodeMSB_->currentIndex(), cboVendorCodeLSB_->currentIndex()},
                              {cboPropCodeMSB_->currentIndex(), cboPropCodeLSB_->currentIndex()},
                              fromQt(cboNetworkID_->currentText())};
    if (const auto stored = storeOptions(values, state_.header); !stored) {
        prompter_.warn(stored.error().reason);
        return;
    }
    state_.document.documentChanged = true;
    accept();
}

void frmMisc::btnCancel_Click() { reject(); }

} // namespace kym
