#include "ui/QtPrompter.h"

#include "config/ProgramState.h"
#include "ui/Text.h"

#include <QMessageBox>

namespace kym {

Prompter::Answer QtPrompter::show(const std::string& text, Buttons buttons, Icon icon) {
    QMessageBox box(parent_);
    box.setWindowTitle(toQt(kDesignCaption));
    box.setText(toQt(text));
    box.setIcon(icon == Icon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon);
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return buttons == Buttons::Ok ? Answer::Ok
                                      : (buttons == Buttons::YesNo ? Answer::No : Answer::Cancel);
    }
}

} // namespace kym
