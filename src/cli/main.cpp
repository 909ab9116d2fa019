#include "cli/Commands.h"

int main(int argc, char** argv) {
    CLI::App app{"kymtool: register configurations and device images from the command line"};
    app.require_subcommand(1);
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
