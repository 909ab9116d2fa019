#include "cli/Commands.h"
#include "config/Version.h"

int main(int argc, char** argv) {
    CLI::App app{"kymtool: register configurations and device images from the command line"};
    app.require_subcommand(1);
    app.set_version_flag("--version", "kymtool " + std::string(kym::kVersion));
    int exitCode = 0;
    kym::cli::addFileCommands(app, exitCode);
    kym::cli::addFtpCommands(app, exitCode);
    kym::cli::addImageCommands(app, exitCode);
    kym::cli::addSerialCommands(app, exitCode);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error);
    }
    return exitCode;
}
