#include "transfer/frmRecord.h"

#include "config/Paths.h"
#include "ui/DialogParts.h"
#include "ui/Text.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kym {
namespace {

// A frame length of 0 stands for no frame and is shown empty.
QStringList rowTexts(const RecordEntry& e) {
    QStringList texts;
    for (const RecordField& field : kRecordFields)
        texts.push_back(field.number && e.*field.number == 0 ? QString()
                                                             : toQt(fieldText(field, e)));
    return texts;
}

} // namespace

frmRecord::frmRecord(const ProgrammingRecord& record, QWidget* parent)
    : QDialog(parent), recordFile_(record.file()) {
    if (auto entries = record.read())
        newestFirst_.assign(entries->rbegin(), entries->rend());
    else
        readProblem_ = entries.error().reason;
    setObjectName(QStringLiteral("frmRecord"));
    setWindowTitle(QStringLiteral("Programming Record"));
    createControls();
    layOut();
    connectHandlers();
    showState();
}

void frmRecord::createControls() {
    lblRecordFile_ = named(new QLabel(this), "lblRecordFile", QStringLiteral("Record file"));
    lblRecordFile_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    tblRecord_ = named(new QTableWidget(0, static_cast<int>(kRecordFields.size()), this),
                       "tblRecord", QStringLiteral("Programming Record"));
    QStringList captions;
    for (const RecordField& field : kRecordFields)
        captions.push_back(toQt(field.caption));
    tblRecord_->setHorizontalHeaderLabels(captions);
    tblRecord_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblRecord_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblRecord_->setSelectionMode(QAbstractItemView::SingleSelection);
    tblRecord_->verticalHeader()->hide();
    btnOpenFile_ = makeButton(this, "btnOpenFile", QStringLiteral("Open File"));
    btnClose_ = makeButton(this, "btnClose", QStringLiteral("Close"));
}

void frmRecord::layOut() {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOpenFile_);
    buttons->addWidget(btnClose_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblRecordFile_);
    layout->addWidget(tblRecord_, 1);
    layout->addLayout(buttons);
    resize(900, 420);
}

void frmRecord::connectHandlers() {
    connect(btnOpenFile_, &QPushButton::clicked, this, &frmRecord::btnOpenFile_Click);
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::reject);
    connect(tblRecord_, &QTableWidget::cellDoubleClicked, this, &frmRecord::btnOpenFile_Click);
    connect(tblRecord_, &QTableWidget::itemSelectionChanged, this,
            [this] { btnOpenFile_->setEnabled(tblRecord_->currentRow() >= 0); });
}

void frmRecord::showState() {
    lblRecordFile_->setText(toQt(readProblem_.empty() ? utf8Of(recordFile_) : readProblem_));
    tblRecord_->setRowCount(static_cast<int>(newestFirst_.size()));
    for (int row = 0; row < tblRecord_->rowCount(); ++row) {
        const QStringList texts = rowTexts(newestFirst_[static_cast<std::size_t>(row)]);
        for (int column = 0; column < texts.size(); ++column)
            tblRecord_->setItem(row, column, new QTableWidgetItem(texts[column]));
    }
    tblRecord_->resizeColumnsToContents();
    btnOpenFile_->setEnabled(false);
}

void frmRecord::btnOpenFile_Click() {
    const int row = tblRecord_->currentRow();
    if (row < 0)
        return;
    chosenFile_ = pathFromUtf8(newestFirst_[static_cast<std::size_t>(row)].file);
    accept();
}

} // namespace kym
