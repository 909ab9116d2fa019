#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

namespace kym::cli {

// Each group of subcommands registers itself on the application; the callbacks set the exit code.
void addFileCommands(CLI::App& app, int& exitCode);
void addFtpCommands(CLI::App& app, int& exitCode);
void addImageCommands(CLI::App& app, int& exitCode);
void addSerialCommands(CLI::App& app, int& exitCode);
// send, simulate and ftp in a build without Qt and libcurl: they say so and exit 2.
void addMissingCommands(CLI::App& app, int& exitCode);

// The command line as UTF-8, the program's name first: on Windows argv is in the ANSI code page.
std::vector<std::string> utf8Arguments(int argc, char** argv);

} // namespace kym::cli
