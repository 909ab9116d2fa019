#include "cli/Commands.h"

#include <iostream>

namespace kym::cli {

void addMissingCommand(CLI::App& app, int& exitCode, const char* name, const char* needs) {
    auto* command =
        app.add_subcommand(name, std::string("Not in this build, which lacks ") + needs);
    command->allow_extras();
    command->callback([name, needs, &exitCode] {
        std::cerr << "kymtool " << name << ": this build of kymtool lacks " << needs
                  << "; use the full build for " << name << '\n';
        exitCode = 2;
    });
}

} // namespace kym::cli
