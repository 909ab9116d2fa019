#pragma once

#include "config/Folders.h"
#include "ui/DialogRunner.h"
#include "ui/FileDialogs.h"
#include "ui/Prompter.h"

namespace kym {

// What a window needs from outside: prompts, file dialogs, a way to run a modal dialog and
// the folder root. Tests pass scripted fakes and a temporary folder.
struct Services {
    Prompter& prompter;
    FileDialogs& fileDialogs;
    DialogRunner runDialog;
    Folders folders;
};

} // namespace kym
