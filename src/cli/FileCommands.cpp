#include "cli/CliServices.h"
#include "cli/Commands.h"
#include "config/DeviceTypes.h"
#include "config/Paths.h"
#include "config/TextLines.h"
#include "editor/DocumentLifecycle.h"

#include <iostream>
#include <memory>

namespace kym::cli {
namespace {

// The folder root only matters for folder creation and dialog defaults, which these commands
// bypass; a fixed scratch root keeps them from touching the user's folders.
Folders scratchFolders() {
    return Folders(std::filesystem::temp_directory_path() / "kymtool");
}

// The window's messages name no file; the command line has two, so each message says which.
int printMessages(const QuietPrompter& prompter, const std::string& path, int code) {
    for (const auto& message : prompter.messages)
        std::cerr << path << ": " << message << '\n';
    return code;
}

int newConfiguration(const std::string& type, const std::string& out) {
    if (!findDeviceType(type)) {
        std::cerr << "kymtool new: unknown device type " << utf8InQuotes(type)
                  << " (KYM3815, QX4815, QR4805, QD4815 or QD4805)\n";
        return 2;
    }
    ProgramState state;
    QuietPrompter prompter;
    FixedFileDialogs dialogs(pathFromUtf8(out));
    DocumentLifecycle lifecycle(state, prompter, dialogs, scratchFolders());
    lifecycle.chooseDeviceType(type);
    if (lifecycle.startNewDocument() != DocumentLifecycle::Outcome::Done ||
        lifecycle.saveAs() != DocumentLifecycle::Outcome::Done)
        return printMessages(prompter, out, 1);
    return 0;
}

int resave(const std::string& in, const std::string& out) {
    ProgramState state;
    QuietPrompter prompter;
    FixedFileDialogs dialogs(pathFromUtf8(in));
    DocumentLifecycle lifecycle(state, prompter, dialogs, scratchFolders());
    if (lifecycle.OpenDocument() != DocumentLifecycle::Outcome::Done)
        return printMessages(prompter, in, 1);
    if (const auto& error = lifecycle.lastReadError()) {
        std::cerr << in << ':' << error->line << ": " << error->reason << '\n';
        return 2;
    }
    dialogs.choose(pathFromUtf8(out));
    if (lifecycle.saveAs() != DocumentLifecycle::Outcome::Done)
        return printMessages(prompter, out, 1);
    return 0;
}

} // namespace

void addFileCommands(CLI::App& app, int& exitCode) {
    struct Arguments {
        std::string type, in, out;
    };
    const auto args = std::make_shared<Arguments>();

    auto* create = app.add_subcommand(
        "new",
        "Create a new configuration for a device type and save it, as File > New and Save As do");
    create->add_option("TYPE", args->type, "Device type: KYM3815, QX4815, QR4805, QD4815 or QD4805")
        ->required();
    create->add_option("OUT", args->out, "File to write (\".vlt\" is appended when missing)")
        ->required();
    create->callback([args, &exitCode] { exitCode = newConfiguration(args->type, args->out); });

    auto* resaveCommand = app.add_subcommand(
        "resave", "Open a configuration file and save it again, as File > Open and Save As do");
    resaveCommand->add_option("IN", args->in, "Configuration file to read")->required();
    resaveCommand->add_option("OUT", args->out, "File to write (\".vlt\" is appended when missing)")
        ->required();
    resaveCommand->callback([args, &exitCode] { exitCode = resave(args->in, args->out); });
}

} // namespace kym::cli
