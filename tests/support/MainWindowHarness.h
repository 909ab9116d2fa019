#pragma once

#include "config/Paths.h"
#include "editor/CellEditors.h"
#include "editor/FlexGrid.h"
#include "support/Controls.h"
#include "support/MemorySettings.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <QAction>
#include <QDialog>
#include <functional>

namespace kym::test {

// A menu entry of a window by its object name.
inline QAction* menuEntry(const QWidget& window, const char* name) {
    return &child<QAction>(window, name);
}

// The main window on a temporary folder with scripted prompts and file dialogs. A dialog the
// window opens goes to `drive`, which works it and closes it, instead of a nested event loop.
struct MainWindowHarness {
    QAction* action(const char* name) const { return menuEntry(window, name); }
    void trigger(const char* name) { action(name)->trigger(); }
    QComboBox* box(EditBox which) const { return window.cellEditors().box(which); }
    QComboBox* shownBox() const { return window.cellEditors().shownBox(); }
    std::string title() const { return window.windowTitle().toStdString(); }
    std::filesystem::path configFile(const std::string& name) const {
        return dir / "kym" / "kym3815" / pathFromUtf8(name);
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
    std::function<void(QDialog&)> drive = [](QDialog&) {};
    FlexGrid window{state,
                    Services{prompter, dialogs,
                             [this](QDialog& dialog) {
                                 drive(dialog);
                                 return dialog.result();
                             },
                             Folders(dir / "kym")},
                    settings};
};

} // namespace kym::test
