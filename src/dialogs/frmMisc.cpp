#include "dialogs/frmMisc.h"

#include "config/Numbers.h"
#include "dialogs/Options.h"
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

template <class W> W* named(W* widget, const char* name, const QString& accessibleName) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAccessibleName(accessibleName);
    return widget;
}

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
    const auto combo = [this](const char* name, const char* label, bool typed) {
        auto* box = named(new QComboBox(this), name, QString::fromLatin1(label));
        box->setEditable(typed);
        if (typed)
            box->setInsertPolicy(QComboBox::NoInsert);
        return box;
    };
    cboTime_ = combo("cboTime", "Transmitter Timeout (min)", true);
    cboCaptureTime_ = combo("cboCaptureTime", "Digital Capture Time", true);
    cboNetworkID_ = combo("cboNetworkID", "Network ID", true);
    cboVendorCodeMSB_ = combo("cboVendorCodeMSB", "V Code MSByte", false);
    cboVendorCodeLSB_ = combo("cboVendorCodeLSB", "V Code LSByte", false);
    cboPropCodeMSB_ = combo("cboPropCodeMSB", "P Code MSByte", false);
    cboPropCodeLSB_ = combo("cboPropCodeLSB", "P Code LSByte", false);

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
        for (auto [combo, labelName] : {std::pair{msb, msbLabel}, std::pair{lsb, lsbLabel}}) {
            auto* label = named(new QLabel(QStringLiteral("MSByte"), box), labelName,
                                QStringLiteral("MSByte"));
            if (combo == lsb) {
                label->setText(QStringLiteral("LSByte"));
                label->setAccessibleName(QStringLiteral("LSByte"));
            }
            label->setBuddy(combo);
            layout->addRow(label, combo);
        }
        return box;
    };
    auto* frame4 = byteFrame("Frame4", "V Code", cboVendorCodeMSB_, "Label3", cboVendorCodeLSB_, "Label4");
    auto* frame2 = byteFrame("Frame2", "P Code", cboPropCodeMSB_, "Label1", cboPropCodeLSB_, "Label2");

    auto* frame5 = frame(this, "Frame5", "Series 9000");
    auto* label6 = named(new QLabel(QStringLiteral("Network ID"), frame5), "Label6", QStringLiteral("Network ID"));
    label6->setBuddy(cboNetworkID_);
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

    auto* lblTime = named(new QLabel(QStringLiteral("Transmitter Timeout (min)"), this), "lblTime",
                          QStringLiteral("Transmitter Timeout (min)"));
    lblTime->setBuddy(cboTime_);
    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(lblTime);
    timeRow->addWidget(cboTime_);
    timeRow->addStretch();

    auto* ok = named(new QPushButton(QStringLiteral("OK"), this), "btnOK", QStringLiteral("OK"));
    auto* cancel = named(new QPushButton(QStringLiteral("Cancel"), this), "btnCancel", QStringLiteral("Cancel"));
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* grid = new QGridLayout;
    grid->addWidget(frame1, 0, 0);
    grid->addWidget(frame3, 0, 1);
    grid->addWidget(frame4, 1, 0);
    grid->addWidget(frame2, 1, 1);
    grid->addWidget(frame5, 2, 0, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(timeRow);
    layout->addLayout(buttons);
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
    const HeaderSettings& header = state_.header;
    cboTime_->addItems(numbers(1, kTimeoutEntries));
    showValue(cboTime_, header.timeout);
    cboCaptureTime_->addItems(numbers(0, kCaptureEntries - 1));
    showValue(cboCaptureTime_, header.captureValue);

    (header.lossState == "LAST" ? optLastState_ : optOffState_)->setChecked(true);
    (header.captureInMinutes ? optTimeMinutes_ : optTimeSeconds_)->setChecked(true);
    (header.snifferState == "SNIFFER" ? optMonitor_ : optMonitorNot_)->setChecked(true);
    optMonitor_->setEnabled(true);
    optMonitorNot_->setEnabled(true);

    const QStringList bytes = codeBytes();
    for (QComboBox* box : {cboPropCodeMSB_, cboPropCodeLSB_, cboVendorCodeMSB_, cboVendorCodeLSB_})
        box->addItems(bytes);
    const CodeSelection property = codeSelection(header.propertyCode);
    cboPropCodeMSB_->setCurrentIndex(property.msb);
    cboPropCodeLSB_->setCurrentIndex(property.lsb);
    const CodeSelection vendor = codeSelection(header.vendorCode);
    cboVendorCodeMSB_->setCurrentIndex(vendor.msb);
    cboVendorCodeLSB_->setCurrentIndex(vendor.lsb);

    cboNetworkID_->addItems(numbers(1, kNetworkIdEntries));
    cboNetworkID_->setCurrentIndex(-1);
    cboNetworkID_->setEditText(toQt(state_.header.networkID));
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

// A capture time or time-out the unit cannot take keeps the dialog open; everything else is
// stored as the controls hold it.
void frmMisc::btnOK_Click() {
    const std::string capture = fromQt(cboCaptureTime_->currentText());
    const std::string timeout = fromQt(cboTime_->currentText());
    for (const auto& problem : {captureProblem(capture), timeoutProblem(timeout)}) {
        if (problem) {
            prompter_.warn(*problem);
            return;
        }
    }

    HeaderSettings& header = state_.header;
    header.captureInMinutes = optTimeMinutes_->isChecked();
    header.lossState = optLastState_->isChecked() ? "LAST" : "OFF";
    header.snifferState = optMonitor_->isChecked() ? "SNIFFER" : "";
    header.timeoutNumber = leadingNumber(timeout);
    header.captureNumber = leadingNumber(capture);
    header.captureValue = capture;
    header.timeout = timeout;
    header.propertyCode = fromQt(cboPropCodeMSB_->currentText() + cboPropCodeLSB_->currentText());
    header.vendorCode = fromQt(cboVendorCodeMSB_->currentText() + cboVendorCodeLSB_->currentText());
    header.networkID = fromQt(cboNetworkID_->currentText());
    state_.document.documentChanged = true;
    accept();
}

void frmMisc::btnCancel_Click() { reject(); }

} // namespace kym
