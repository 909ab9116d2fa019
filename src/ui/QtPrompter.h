#pragma once

#include "ui/Prompter.h"

class QWidget;

namespace kym {

// Prompter on QMessageBox, captioned with the application's title.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    Answer show(const std::string& text, Buttons buttons, Icon icon) override;

private:
    QWidget* parent_ = nullptr;
};

} // namespace kym
