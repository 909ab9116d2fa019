#include "gateway/frmIPaddress.h"

#include "config/ProgramState.h"
#include "ui/DialogParts.h"
#include "ui/Text.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kym {

frmIPaddress::frmIPaddress(ProgramState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("frmIPaddress"));
    setWindowTitle(QStringLiteral("IP Address"));
    Text1_ = makeLineEdit(this, "Text1", QStringLiteral("IP Address"));
    txtSubnet_ = makeLineEdit(this, "txtSubnet", QStringLiteral("Subnet"));
    btnOK_ = makeButton(this, "btnOK", QStringLiteral("OK"));
    btnCancel_ = makeButton(this, "btnCancel", QStringLiteral("Cancel"));

    auto* fields = new QFormLayout;
    fields->addRow(makeLabel(this, "lblIPAddress", QStringLiteral("IP Address"), Text1_), Text1_);
    fields->addRow(makeLabel(this, "lblSubnet", QStringLiteral("Subnet"), txtSubnet_), txtSubnet_);
    layOutWithButtons(this, fields, btnOK_, btnCancel_);

    connect(btnOK_, &QPushButton::clicked, this, &frmIPaddress::btnOK_Click);
    connect(btnCancel_, &QPushButton::clicked, this, &frmIPaddress::btnCancel_Click);
    Form_Load();
}

void frmIPaddress::Form_Load() {
    Text1_->setText(toQt(state_.gateway.gatewayIP));
    txtSubnet_->setText(toQt(state_.gateway.gatewaySubnet));
}

void frmIPaddress::btnOK_Click() {
    state_.gateway.gatewayIP = fromQt(Text1_->text());
    state_.gateway.gatewaySubnet = fromQt(txtSubnet_->text());
    state_.gateway.physicalLayer = kEthernet;
    accept();
}

void frmIPaddress::btnCancel_Click() {
    reject();
}

} // namespace kym
