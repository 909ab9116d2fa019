#pragma once

#include "ui/FileDialogs.h"
#include "ui/Prompter.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kym::cli {

// Answers every question No (or Cancel) and keeps every message for stderr: the tool runs the
// editor's flows without a user.
class QuietPrompter : public Prompter {
public:
    Answer show(const std::string& text, Buttons buttons, Icon) override {
        messages.push_back(text);
        return buttons == Buttons::Ok ? Answer::Ok
                                      : (buttons == Buttons::YesNo ? Answer::No : Answer::Cancel);
    }
    std::vector<std::string> messages;
};

// A file dialog that always chooses the given path.
class FixedFileDialogs : public FileDialogs {
public:
    explicit FixedFileDialogs(std::filesystem::path path) : path_(std::move(path)) {}
    std::optional<std::filesystem::path> openFile(const FileDialogRequest&) override {
        return path_;
    }
    std::optional<std::filesystem::path> saveFile(const FileDialogRequest&) override {
        return path_;
    }
    void choose(std::filesystem::path path) { path_ = std::move(path); }

private:
    std::filesystem::path path_;
};

} // namespace kym::cli
