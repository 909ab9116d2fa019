#pragma once

#include "ui/Text.h"

#include <QString>

class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace kym {

// Names a control after its control name and gives it its caption or label as accessible name.
template <class Widget>
Widget* named(Widget* widget, const char* objectName, const QString& accessibleName) {
    widget->setObjectName(toQt(objectName));
    widget->setAccessibleName(accessibleName);
    return widget;
}

QLineEdit* makeLineEdit(QWidget* parent, const char* objectName, const QString& label);
// A label; buddy, when given, is the control it names.
QLabel* makeLabel(QWidget* parent, const char* objectName, const QString& caption, QWidget* buddy);
QPushButton* makeButton(QWidget* parent, const char* objectName, const QString& caption);
// A drop-down box of fixed entries; label is what a screen reader calls it.
QComboBox* makeCombo(QWidget* parent, const char* objectName, const QString& label);
// A drop-down box that also takes typed text; the second form names and sets up a box of a
// derived kind.
QComboBox* makeEditableCombo(QWidget* parent, const char* objectName, const QString& label);
QComboBox* makeEditableCombo(QComboBox* combo, const char* objectName, const QString& label);
// Lays the dialog out as its content above a right-aligned OK and Cancel; OK is the default.
void layOutWithButtons(QDialog* dialog, QLayout* content, QPushButton* ok, QPushButton* cancel);
// A captioned frame around related controls; objectName is empty for a frame without a name.
QGroupBox* makeFrame(QWidget* parent, const char* objectName, const QString& caption);
QRadioButton* makeOption(QWidget* parent, const char* objectName, const QString& caption);

} // namespace kym
