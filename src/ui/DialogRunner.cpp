#include "ui/DialogRunner.h"

#include <QDialog>

namespace kym {

DialogRunner modalDialogRunner() {
    return [](QDialog& dialog) { return dialog.exec(); };
}

} // namespace kym
