#include "ui/UiThreadPrompter.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

namespace kym {

Prompter::Answer UiThreadPrompter::show(const std::string& text, Buttons buttons, Icon icon) {
    if (QThread::currentThread() == uiObject_.thread())
        return target_.show(text, buttons, icon);
    Answer answer = Answer::Ok;
    QMetaObject::invokeMethod(
        &uiObject_, [&] { answer = target_.show(text, buttons, icon); },
        Qt::BlockingQueuedConnection);
    return answer;
}

} // namespace kym
