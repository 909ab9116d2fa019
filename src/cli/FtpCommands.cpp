#include "cli/Commands.h"
#include "config/Folders.h"
#include "gateway/CurlFtpClient.h"
#include "gateway/GatewayFtpSession.h"

#include <iostream>
#include <memory>
#include <vector>

namespace kym::cli {
namespace {

// Keeps every message and answers the close question Yes, as a user who wants to be done would.
class ClosingPrompter : public Prompter {
public:
    Answer show(const std::string& text, Buttons buttons, Icon) override {
        const bool question = buttons == Buttons::YesNo;
        messages.push_back(question ? text + " Yes" : text);
        return question ? Answer::Yes : Answer::Ok;
    }
    std::vector<std::string> messages;
};

// Messages break their lines with CR LF, as message boxes do; a terminal wants LF.
std::string terminalLines(const std::string& text) {
    std::string lines;
    for (char c : text)
        if (c != '\r')
            lines += c;
    return lines;
}

struct FtpArguments {
    std::string file;
    std::string host;
    std::string user{kDefaultFtpUser};
    std::string password{kDefaultFtpPassword};
    std::string output;
};

int exchange(const FtpArguments& args, bool put) {
    CurlFtpClient client;
    ClosingPrompter prompter;
    GatewayFtpSession session(client, prompter);
    const FtpLogin login{args.host, args.user, args.password};
    bool done = false;
    if (put) {
        done = session.send(login, args.file);
    } else if (!args.output.empty()) {
        done = session.get(login, args.output);
    } else {
        const Folders folders = Folders::forUser();
        folders.create();
        done = session.get(login, folders.gatewayDownload());
    }
    std::ostream& out = done ? std::cout : std::cerr;
    for (const auto& message : prompter.messages)
        out << terminalLines(message) << '\n';
    return done ? 0 : 1;
}

void addLoginOptions(CLI::App& command, FtpArguments& args) {
    command.add_option("--host", args.host, "Gateway address or host name, optionally with :port")
        ->required();
    command.add_option("--user", args.user, "FTP user name")->capture_default_str();
    command.add_option("--password", args.password, "FTP password")->capture_default_str();
}

} // namespace

void addFtpCommands(CLI::App& app, int& exitCode) {
    const auto args = std::make_shared<FtpArguments>();

    auto* ftp = app.add_subcommand(
        "ftp", "Exchange the gateway's config.cfg over FTP, as the FTP Transfer dialog does");
    ftp->require_subcommand(1);

    auto* put = ftp->add_subcommand("put", "Store a local file on the gateway as config.cfg");
    put->add_option("FILE", args->file, "Local file to send")->required();
    addLoginOptions(*put, *args);
    put->callback([args, &exitCode] { exitCode = exchange(*args, true); });

    auto* get = ftp->add_subcommand("get", "Fetch the gateway's config.cfg");
    addLoginOptions(*get, *args);
    get->add_option("--output", args->output,
                    "Where to store it (default: _config.cfg in the kym folder)");
    get->callback([args, &exitCode] { exitCode = exchange(*args, false); });
}

} // namespace kym::cli
