#pragma once

#include <CLI/CLI.hpp>

namespace kym::cli {

// Each group of subcommands registers itself on the application; the callbacks set the exit code.
void addFileCommands(CLI::App& app, int& exitCode);
void addFtpCommands(CLI::App& app, int& exitCode);
void addImageCommands(CLI::App& app, int& exitCode);
void addSerialCommands(CLI::App& app, int& exitCode);

} // namespace kym::cli
