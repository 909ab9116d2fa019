#include "ui/DialogParts.h"

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kym {

QLineEdit* makeLineEdit(QWidget* parent, const char* objectName, const QString& label) {
    return named(new QLineEdit(parent), objectName, label);
}

QLabel* makeLabel(QWidget* parent, const char* objectName, const QString& caption, QWidget* buddy) {
    auto* label = named(new QLabel(caption, parent), objectName, caption);
    label->setBuddy(buddy);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* objectName, const QString& caption) {
    auto* button = named(new QPushButton(caption, parent), objectName, caption);
    button->setAutoDefault(false);
    return button;
}

QComboBox* makeCombo(QWidget* parent, const char* objectName, const QString& label) {
    return named(new QComboBox(parent), objectName, label);
}

QComboBox* makeEditableCombo(QWidget* parent, const char* objectName, const QString& label) {
    return makeEditableCombo(new QComboBox(parent), objectName, label);
}

QComboBox* makeEditableCombo(QComboBox* combo, const char* objectName, const QString& label) {
    named(combo, objectName, label);
    combo->setEditable(true);
    combo->lineEdit()->setAccessibleName(label);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

void layOutWithButtons(QDialog* dialog, QLayout* content, QPushButton* ok, QPushButton* cancel) {
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(content);
    layout->addLayout(buttons);
}

QGroupBox* makeFrame(QWidget* parent, const char* objectName, const QString& caption) {
    return named(new QGroupBox(caption, parent), objectName, caption);
}

QRadioButton* makeOption(QWidget* parent, const char* objectName, const QString& caption) {
    return named(new QRadioButton(caption, parent), objectName, caption);
}

} // namespace kym
