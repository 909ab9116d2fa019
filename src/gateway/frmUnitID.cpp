#include "gateway/frmUnitID.h"

#include "config/ProgramState.h"
#include "ui/DialogParts.h"
#include "ui/Text.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

namespace kym {
namespace {
constexpr int kHighestUnitId = 247;
} // namespace

frmUnitID::frmUnitID(ProgramState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("frmUnitID"));
    setWindowTitle(QStringLiteral("Unit Identifier"));
    ComboUnitID_ = makeEditableCombo(this, "ComboUnitID", QStringLiteral("Unit ID"));
    btnOK_ = makeButton(this, "btnOK", QStringLiteral("OK"));
    btnCancel_ = makeButton(this, "btnCancel", QStringLiteral("Cancel"));

    auto* fields = new QFormLayout;
    fields->addRow(makeLabel(this, "lblUnitId", QStringLiteral("Unit ID"), ComboUnitID_),
                   ComboUnitID_);
    layOutWithButtons(this, fields, btnOK_, btnCancel_);

    connect(btnOK_, &QPushButton::clicked, this, &frmUnitID::btnOK_Click);
    connect(btnCancel_, &QPushButton::clicked, this, &frmUnitID::btnCancel_Click);
    Form_Load();
}

void frmUnitID::Form_Load() {
    for (int id = 1; id <= kHighestUnitId; ++id)
        ComboUnitID_->addItem(QString::number(id));
    ComboUnitID_->setCurrentText(toQt(state_.gateway.unitID));
}

void frmUnitID::btnOK_Click() {
    state_.gateway.unitID = fromQt(ComboUnitID_->currentText());
    accept();
}

void frmUnitID::btnCancel_Click() {
    reject();
}

} // namespace kym
