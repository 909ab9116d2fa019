#pragma once

#include "ui/Prompter.h"

class QObject;

namespace kym {

// Lets a worker thread show messages and ask questions: each one is shown on the thread of the
// given user-interface object, and the worker waits for the answer.
class UiThreadPrompter : public Prompter {
public:
    UiThreadPrompter(Prompter& target, QObject& uiObject) : target_(target), uiObject_(uiObject) {}
    Answer show(const std::string& text, Buttons buttons, Icon icon) override;

private:
    Prompter& target_;
    QObject& uiObject_;
};

} // namespace kym
