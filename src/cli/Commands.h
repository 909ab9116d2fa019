#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

namespace kym::cli {

// Each group of subcommands registers itself on the application; the callbacks set the exit code.
void addFileCommands(CLI::App& app, int& exitCode);
void addCompareCommands(CLI::App& app, int& exitCode);
void addFtpCommands(CLI::App& app, int& exitCode);
void addImageCommands(CLI::App& app, int& exitCode);
void addRecordCommand(CLI::App& app, int& exitCode);
void addSendCommand(CLI::App& app, int& exitCode);
void addSimulateCommand(CLI::App& app, int& exitCode);
// A command this build lacks: it says so, naming what it needs, and exits 2.
void addMissingCommand(CLI::App& app, int& exitCode, const char* name, const char* needs);

// The command line as UTF-8, the program's name first: on Windows argv is in the ANSI code page.
std::vector<std::string> utf8Arguments(int argc, char** argv);

} // namespace kym::cli
