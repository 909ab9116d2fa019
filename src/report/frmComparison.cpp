#include "report/frmComparison.h"

#include "ui/Text.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kym {

frmComparison::frmComparison(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmComparison"));
    setWindowTitle(QStringLiteral("Comparison"));
    setModal(false);
    createControls();
    layOut();
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::close);
}

void frmComparison::createControls() {
    lblComparedWith_ = new QLabel(this);
    lblComparedWith_->setObjectName(QStringLiteral("lblComparedWith"));
    lstSettings_ = new QListWidget(this);
    lstSettings_->setObjectName(QStringLiteral("lstSettings"));
    lstSettings_->setAccessibleName(QStringLiteral("Settings that differ"));
    lblComparedWith_->setBuddy(lstSettings_);
    btnClose_ = new QPushButton(QStringLiteral("Close"), this);
    btnClose_->setObjectName(QStringLiteral("btnClose"));
    btnClose_->setAccessibleName(btnClose_->text());
}

void frmComparison::layOut() {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblComparedWith_);
    layout->addWidget(lstSettings_);
    layout->addWidget(btnClose_, 0, Qt::AlignRight);
    resize(360, 220);
}

void frmComparison::showState(const std::string& fileName, const std::vector<std::string>& lines) {
    lblComparedWith_->setText(toQt("Settings that differ from " + fileName + ":"));
    lblComparedWith_->setAccessibleName(lblComparedWith_->text());
    lstSettings_->clear();
    for (const auto& line : lines)
        lstSettings_->addItem(toQt(line));
    if (lines.empty())
        lstSettings_->addItem(QStringLiteral("(none)"));
}

} // namespace kym
