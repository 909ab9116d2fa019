#include "cli/Commands.h"
#include "config/Folders.h"
#include "config/Paths.h"
#include "config/Result.h"
#include "gateway/FtpClients.h"
#include "gateway/GatewayFtpSession.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

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
    std::optional<std::string> password;
    std::string passwordFile;
    std::string output;
    bool noVerify = false;
};

#ifdef _WIN32
bool inputIsTerminal() {
    return ::_isatty(::_fileno(stdin)) != 0;
}

// Reads a line from the console with its echo off for the time.
std::string readHidden() {
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    ::GetConsoleMode(input, &mode);
    ::SetConsoleMode(input, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    std::string line;
    std::getline(std::cin, line);
    ::SetConsoleMode(input, mode);
    return line;
}
#else
bool inputIsTerminal() {
    return ::isatty(STDIN_FILENO) != 0;
}

std::string readHidden() {
    termios saved{};
    ::tcgetattr(STDIN_FILENO, &saved);
    termios hidden = saved;
    hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &hidden);
    std::string line;
    std::getline(std::cin, line);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    return line;
}
#endif

// A password file holds the password on its first line. One that others may read is refused:
// it would leak the password as the command line does. Windows keeps who may read a file in its
// access list, which the permission bits do not show; there the user profile's folder guards it.
Result<std::string> passwordFromFile(const std::string& name) {
    namespace fs = std::filesystem;
    const fs::path path = pathFromUtf8(name);
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error)
        return Error{name + ": " + error.message()};
#ifndef _WIN32
    if ((status.permissions() & (fs::perms::group_read | fs::perms::others_read)) !=
        fs::perms::none)
        return Error{name + ": other users can read it; make it readable by its owner only "
                            "(chmod 600)"};
#endif
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!in || (!std::getline(in, line) && !in.eof()))
        return Error{name + ": cannot be read"};
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

// The first of: --password-file, --password, KYM_FTP_PASSWORD, a question on the terminal; with
// none (a script without a terminal) the gateway's default.
Result<std::string> password(const FtpArguments& args) {
    if (!args.passwordFile.empty())
        return passwordFromFile(args.passwordFile);
    if (args.password)
        return *args.password;
    if (const char* environment = std::getenv("KYM_FTP_PASSWORD"))
        return std::string(environment);
    if (!inputIsTerminal())
        return std::string(kDefaultFtpPassword);
    std::cerr << "FTP password for " << args.user
              << " (empty for the gateway's default): " << std::flush;
    const std::string typed = readHidden();
    std::cerr << '\n';
    return typed.empty() ? std::string(kDefaultFtpPassword) : typed;
}

int exchange(const FtpArguments& args, bool put) {
    const auto secret = password(args);
    if (!secret) {
        std::cerr << "kymtool ftp: " << secret.error().reason << '\n';
        return 2;
    }
    const auto client = systemFtpClients()();
    ClosingPrompter prompter;
    GatewayFtpSession session(*client, prompter);
    const FtpLogin login{args.host, args.user, *secret};
    bool done = false;
    if (put) {
        done = session.send(login, args.file, !args.noVerify);
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
    auto* file = command.add_option(
        "--password-file", args.passwordFile,
        "File whose first line is the FTP password, readable by its owner only (preferred)");
    command
        .add_option("--password", args.password,
                    "FTP password; other users see it in the process list, so prefer "
                    "--password-file or KYM_FTP_PASSWORD. Without any, a terminal is asked and "
                    "a script gets the gateway's default")
        ->excludes(file);
}

} // namespace

void addFtpCommands(CLI::App& app, int& exitCode) {
    const auto args = std::make_shared<FtpArguments>();

    auto* ftp = app.add_subcommand(
        "ftp", "Exchange the gateway's config.cfg over FTP, as the FTP Transfer dialog does "
               "(exit 0 done, 1 failed, 2 password file refused)");
    ftp->require_subcommand(1);

    auto* put = ftp->add_subcommand(
        "put", "Store a local file on the gateway as config.cfg and read it back to compare");
    put->add_option("FILE", args->file, "Local file to send")->required();
    addLoginOptions(*put, *args);
    put->add_flag("--no-verify", args->noVerify, "Do not read config.cfg back after storing it");
    put->callback([args, &exitCode] { exitCode = exchange(*args, true); });

    auto* get = ftp->add_subcommand("get", "Fetch the gateway's config.cfg");
    addLoginOptions(*get, *args);
    get->add_option("--output", args->output,
                    "Where to store it (default: _config.cfg in the kym folder)");
    get->callback([args, &exitCode] { exitCode = exchange(*args, false); });
}

} // namespace kym::cli
