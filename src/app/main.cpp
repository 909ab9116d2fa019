#include "config/Paths.h"
#include "config/ProgramState.h"
#include "config/Version.h"
#include "editor/FlexGrid.h"
#include "ui/QtFileDialogs.h"
#include "ui/QtPrompter.h"
#include "ui/QtSettingsStore.h"
#include "ui/Text.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kUsage = "Usage: kymeditor [FILE]\n"
                               "Edits register configurations of KYM receiver units; FILE, a .vlt\n"
                               "register configuration, is opened at start-up.\n\n"
                               "  -h, --help     show this text\n"
                               "  -v, --version  show the version\n";

// Answers --help and --version before any window or display is needed; false when the program
// goes on.
bool answeredAtOnce(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const auto is = [arg = argv[i]](const char* name) { return std::strcmp(arg, name) == 0; };
        if (is("-h") || is("--help")) {
            std::fputs(kUsage, stdout);
            return true;
        }
        if (is("-v") || is("--version")) {
            std::printf("kymeditor %.*s\n", static_cast<int>(kym::kVersion.size()),
                        kym::kVersion.data());
            return true;
        }
    }
    return false;
}

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
    if (answeredAtOnce(argc, argv))
        return 0;
    if (!haveDisplay()) {
        std::fputs("kymeditor: no display to open the window on (DISPLAY is not set).\n"
                   "Run it on a desktop, or with QT_QPA_PLATFORM=offscreen to test it.\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(kym::toQt(kym::kDesignCaption));
    QApplication::setApplicationVersion(kym::toQt(kym::kVersion));
    // Qt has taken its own options out by now.
    const QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.size() > 1 || arguments.value(0).startsWith(QLatin1Char('-'))) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    kym::ProgramState state;
    kym::QtPrompter prompter;
    kym::QtFileDialogs fileDialogs;
    kym::QtSettingsStore settings(QStringLiteral("kym"), QStringLiteral("kymeditor"));
    kym::FlexGrid window(state,
                         {prompter, fileDialogs, kym::modalDialogRunner(), kym::Folders::forUser()},
                         settings);
    prompter.setParent(&window);
    fileDialogs.setParent(&window);
    window.show();
    if (!arguments.isEmpty())
        window.openFile(kym::pathFromUtf8(arguments.front().toStdString()));
    return QApplication::exec();
}
