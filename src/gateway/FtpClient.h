#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace kym {

// Outcome of an FTP operation, numbered as the platform's Internet functions number their
// errors, so that the gateway dialog's messages read the same on every system.
enum class FtpStatus : int {
    Ok = 0,
    Timeout = 12002,
    ServerRefused = 12003, // the server answered with an error reply; see lastResponse()
    Internal = 12004,
    NameNotResolved = 12007,
    CannotConnect = 12029,
};

inline int code(FtpStatus status) {
    return static_cast<int>(status);
}

// Where and as whom to log in. host is a name or an address, optionally followed by ":port".
struct FtpLogin {
    std::string host;
    std::string user;
    std::string password;
};

// The server's last reply: its three-digit code and its text as sent (lines joined by CR LF).
struct FtpResponse {
    int code = 0;
    std::string text;
};

// How long a client waits before giving up, so that no exchange can hang the tool.
struct FtpTimeouts {
    std::chrono::seconds connect{10}; // reaching the server and logging in
    std::chrono::seconds stall{30};   // a reply or a transfer that makes no progress
};

// The FTP operations the gateway exchange relies on: one session holding at most one logged-in
// connection. Transfers are binary and passive; remote names are relative to the login folder.
class FtpClient {
public:
    virtual ~FtpClient() = default;

    virtual FtpStatus openSession() = 0;
    // Connects and logs in; needs an open session.
    virtual FtpStatus connect(const FtpLogin& login) = 0;
    // Copies the remote file to localPath, replacing it only once the whole file has arrived.
    virtual FtpStatus getFile(std::string_view remoteName,
                              const std::filesystem::path& localPath) = 0;
    virtual FtpStatus putFile(const std::filesystem::path& localPath,
                              std::string_view remoteName) = 0;
    // The reply behind the last failure reported as ServerRefused.
    virtual FtpResponse lastResponse() const = 0;
    virtual void closeConnection() = 0;
    virtual void closeSession() = 0;
};

using FtpClientFactory = std::function<std::unique_ptr<FtpClient>()>;

} // namespace kym
