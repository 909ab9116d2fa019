#pragma once

#include "config/Folders.h"
#include "config/ProgramState.h"
#include "config/Result.h"
#include "editor/EditHistory.h"
#include "ui/FileDialogs.h"
#include "ui/Prompter.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

namespace kym {

// The prompts of the document lifecycle, exact to the blank.
namespace prompt {
inline constexpr std::string_view kSaveChangesUpper =
    "     CHANGES HAVE BEEN MADE!  DO YOU WANT TO SAVE YOUR CHANGES?        ";
inline constexpr std::string_view kSaveChangesTransfer =
    "     Changes have been made!  Do you want to save your changes?        ";
inline constexpr std::string_view kSaveChangesExit = "Do you want to save your changes.";
inline constexpr std::string_view kCompatibilityChange =
    "Changing COMPATIBILITY requires a new file. Do you want to save your changes.";
inline constexpr std::string_view kSelectDeviceType =
    "Select a Device Type from the 'Compatibility' Menu.";
} // namespace prompt

// New, Open, Save, Save As, device-type choice, Exit and closing, on the program state and
// without a window: the main window's handlers call these and then show the state, and the
// command-line tool runs the same flows with scripted answers.
//
// Where a flow offers to save and the user says Yes, a save that does not happen (cancelled or
// failed) abandons the flow and leaves the document as it was.
class DocumentLifecycle {
public:
    enum class Outcome { Done, Cancelled, Failed };

    DocumentLifecycle(ProgramState& state, Prompter& prompter, FileDialogs& fileDialogs,
                      Folders folders);

    // Runs wherever the flows hide the six editing boxes.
    void setHideEditCombos(std::function<void()> hide) { hideEditCombos_ = std::move(hide); }
    // Runs with the path of every file opened or written.
    void setFileUsed(std::function<void(const std::string&)> used) { fileUsed_ = std::move(used); }

    // Start-up: the folders exist and the settings have their start values.
    void startUp();

    // An edit that wrote nothing marks the document changed.
    void MarkChanged();

    // One of the device-type menu entries was chosen.
    void chooseDeviceType(std::string_view identifier);

    // File > New for the checked device type.
    Outcome startNewDocument();
    Outcome OpenDocument();
    // Open with path chosen instead of asked for; a relative path is taken against the current
    // folder.
    Outcome openFile(const std::filesystem::path& path);
    Outcome save();
    Outcome saveAs();

    // Offers to save before the transfer window opens; false when the user's save did not happen.
    bool prepareFileTransfer();
    // File > Exit; true when the window may close.
    bool exitRequested();
    // The window is closing; true when it may.
    bool closeRequested();

    // The undo steps of the document; New, Open and a device-type change start it afresh.
    EditHistory& history() { return history_; }
    const EditHistory& history() const { return history_; }

    // The read error of the last Open, if its file was malformed.
    const std::optional<Error>& lastReadError() const { return lastReadError_; }

private:
    using ChooseFile = std::function<std::optional<std::filesystem::path>()>;

    bool ConfirmCompatibilityChange();
    Outcome open(const ChooseFile& choose);
    Outcome NewDocument();
    bool offerSave(std::string_view question);
    Outcome write(const std::string& path);
    HeaderSettings documentHeader() const;
    FileDialogRequest configDialog(std::string title, std::string fileName) const;
    void hideEditCombos();
    void fileUsed(const std::string& path);

    ProgramState& state_;
    Prompter& prompter_;
    FileDialogs& fileDialogs_;
    Folders folders_;
    std::function<void()> hideEditCombos_;
    std::function<void(const std::string&)> fileUsed_;
    std::optional<Error> lastReadError_;
    EditHistory history_{state_};
    bool exitAnsweredNo_ = false;
};

} // namespace kym
