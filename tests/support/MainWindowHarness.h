#pragma once

#include "editor/FlexGrid.h"
#include "support/MemorySettings.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <QAction>
#include <QDialog>
#include <functional>

namespace kym::test {

// The main window on a temporary folder with scripted prompts and file dialogs. A dialog the
// window opens goes to `drive`, which works it and closes it, instead of a nested event loop.
struct MainWindowHarness {
    void trigger(const char* action) { window.action(QString::fromLatin1(action))->trigger(); }
    std::string title() const { return window.windowTitle().toStdString(); }
    std::filesystem::path configFile(const std::string& name) const {
        return dir / "kym" / "kym3815" / name;
    }
    void newDocument(const char* typeEntry) {
        trigger(typeEntry);
        trigger("mnuNewGatewayConfig");
    }

    TempDir dir;
    ProgramState state;
    ScriptedPrompter prompter;
    ScriptedFileDialogs dialogs;
    MemorySettings settings;
    std::function<void(QDialog&)> drive;
    FlexGrid window{state,
                    Services{prompter, dialogs,
                             [this](QDialog& dialog) {
                                 if (drive)
                                     drive(dialog);
                                 return dialog.result();
                             },
                             Folders(dir / "kym")},
                    settings};
};

} // namespace kym::test
