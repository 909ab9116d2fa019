#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kym {

// What a file dialog is opened with. The filter is one entry: a description and a pattern.
struct FileDialogRequest {
    std::string title;
    std::string filterDescription;
    std::string filterPattern;
    std::filesystem::path directory;
    std::string fileName; // proposed file name, possibly a full path
};

// Open and Save dialogs, behind an interface so that tests can script the choice.
// An empty result means the user cancelled. Save dialogs confirm overwriting.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<std::filesystem::path> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::filesystem::path> saveFile(const FileDialogRequest& request) = 0;
};

} // namespace kym
