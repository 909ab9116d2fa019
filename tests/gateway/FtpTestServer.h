#pragma once

#include "support/RunProcess.h"

#include <filesystem>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace kym::test {

// A real FTP server on 127.0.0.1 serving a folder (created when missing) to "root" with the
// default password, for at most a minute. A stalling server never answers a download request;
// a busy one greets every client with 421 and hangs up.
class FtpTestServer {
public:
    enum class Mode { Answering, Stalling, Busy };
    // Debian's interpreter, which has the FTP server library, whatever python3 is first on PATH.
    explicit FtpTestServer(const std::filesystem::path& root, Mode mode = Mode::Answering)
        : server_({"/usr/bin/python3", KYM_FTP_SERVER_SCRIPT, root.string(), modeName(mode)}),
          port_(server_.readLine(10000)) {}

    // "127.0.0.1:port", or empty when the server did not start.
    std::string address() const { return port_.empty() ? "" : "127.0.0.1:" + port_; }

private:
    static std::string modeName(Mode mode) {
        return mode == Mode::Stalling ? "stall" : mode == Mode::Busy ? "busy" : "answer";
    }

    BackgroundProcess server_;
    std::string port_;
};

// A loopback port nothing listens on: bound, then closed without listening.
inline int closedLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                       ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    ::close(fd);
    return bound ? ntohs(address.sin_port) : 0;
}

} // namespace kym::test
