#include "cli/Commands.h"

#include <iostream>

namespace kym::cli {

void addMissingCommands(CLI::App& app, int& exitCode) {
    struct Missing {
        const char* name;
        const char* needs;
    };
    static constexpr Missing kMissing[] = {
        {"send", "the serial port (Qt)"},
        {"simulate", "the serial port (Qt)"},
        {"ftp", "FTP (libcurl)"},
    };
    for (const auto& missing : kMissing) {
        auto* command = app.add_subcommand(
            missing.name, std::string("Not in this build, which lacks ") + missing.needs);
        command->allow_extras();
        command->callback([missing, &exitCode] {
            std::cerr << "kymtool " << missing.name << ": this build of kymtool lacks "
                      << missing.needs << "; use the full build for " << missing.name << '\n';
            exitCode = 2;
        });
    }
}

} // namespace kym::cli
