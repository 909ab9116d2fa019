#pragma once

#include "ui/FileDialogs.h"

class QWidget;

namespace kym {

// FileDialogs on QFileDialog: the read-only box hidden, overwrite confirmed on save.
class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    std::optional<std::filesystem::path> openFile(const FileDialogRequest& request) override;
    std::optional<std::filesystem::path> saveFile(const FileDialogRequest& request) override;

private:
    std::optional<std::filesystem::path> run(const FileDialogRequest& request, bool save);
    QWidget* parent_ = nullptr;
};

} // namespace kym
