#include "ui/QtFileDialogs.h"

#include "config/Paths.h"

#include <QFileDialog>

namespace kym {

std::optional<std::filesystem::path> QtFileDialogs::openFile(const FileDialogRequest& request) {
    return run(request, false);
}

std::optional<std::filesystem::path> QtFileDialogs::saveFile(const FileDialogRequest& request) {
    return run(request, true);
}

std::optional<std::filesystem::path> QtFileDialogs::run(const FileDialogRequest& request,
                                                        bool save) {
    QFileDialog dialog(parent_, QString::fromStdString(request.title),
                       QString::fromStdString(utf8Of(request.directory)));
    dialog.setNameFilter(
        QString::fromStdString(request.filterDescription + " (" + request.filterPattern + ")"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // With the extension added by the dialog, the overwrite question is about the file written.
    if (save && request.filterPattern.starts_with("*."))
        dialog.setDefaultSuffix(QString::fromStdString(request.filterPattern.substr(2)));
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.fileName.empty())
        dialog.selectFile(QString::fromStdString(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return documentPath(pathFromUtf8(dialog.selectedFiles().constFirst().toStdString()));
}

} // namespace kym
