#pragma once

#include <functional>

class QDialog;

namespace kym {

// Shows a dialog modally and returns its result. Windows take one so that tests can drive a
// dialog and close it instead of entering a nested event loop.
using DialogRunner = std::function<int(QDialog&)>;

// The runner of the real program: QDialog::exec.
DialogRunner modalDialogRunner();

} // namespace kym
