#include "cli/Commands.h"
#include "config/Version.h"

#include <algorithm>

int main(int argc, char** argv) {
    CLI::App app{"kymtool: register configurations and device images from the command line",
                 "kymtool"};
    app.require_subcommand(1);
    app.set_version_flag("--version", "kymtool " + std::string(kym::kVersion));
    int exitCode = 0;
    kym::cli::addFileCommands(app, exitCode);
    kym::cli::addCompareCommands(app, exitCode);
    kym::cli::addImageCommands(app, exitCode);
    kym::cli::addRecordCommand(app, exitCode);
#ifdef KYM_WITH_FTP
    kym::cli::addFtpCommands(app, exitCode);
#else
    kym::cli::addMissingCommand(app, exitCode, "ftp", "FTP (libcurl)");
#endif
#ifdef KYM_CORE_ONLY
    kym::cli::addMissingCommand(app, exitCode, "send", "the serial port (Qt)");
    kym::cli::addMissingCommand(app, exitCode, "simulate", "the serial port (Qt)");
#else
    kym::cli::addSendCommand(app, exitCode);
#ifdef _WIN32
    kym::cli::addMissingCommand(app, exitCode, "simulate", "pseudo-terminals (Linux)");
#else
    kym::cli::addSimulateCommand(app, exitCode);
#endif
#endif
    // CLI11 takes the arguments last first, without the program's name.
    auto arguments = kym::cli::utf8Arguments(argc, argv);
    std::ranges::reverse(arguments);
    arguments.pop_back();
    try {
        app.parse(arguments);
    } catch (const CLI::ParseError& error) {
        return app.exit(error);
    }
    return exitCode;
}
