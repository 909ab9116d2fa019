#include "config/ProgramState.h"
#include "editor/FlexGrid.h"
#include "ui/QtFileDialogs.h"
#include "ui/QtPrompter.h"
#include "ui/Text.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace {

bool haveDisplay() {
#if defined(__linux__)
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

} // namespace

int main(int argc, char** argv) {
    if (!haveDisplay()) {
        std::fputs("kymeditor: no display to open the window on (DISPLAY is not set).\n"
                   "Run it on a desktop, or with QT_QPA_PLATFORM=offscreen to test it.\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(kym::toQt(kym::kDesignCaption));

    kym::ProgramState state;
    kym::QtPrompter prompter;
    kym::QtFileDialogs fileDialogs;
    kym::FlexGrid window(
        state, {prompter, fileDialogs, kym::modalDialogRunner(), kym::Folders::forUser()});
    prompter.setParent(&window);
    fileDialogs.setParent(&window);
    window.show();
    return QApplication::exec();
}
