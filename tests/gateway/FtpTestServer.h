#pragma once

#include "support/RunProcess.h"

#include <array>
#include <filesystem>
#include <string>

namespace kym::test {

// An FTP server on loopback serving a folder to "root" for a minute at most. A stalling one never
// answers a download, a busy one greets with 421 and hangs up, an altering one appends a byte.
class FtpTestServer {
public:
    enum class Mode { Answering, Stalling, Busy, Altering, AnsweringIpv6 };
    // Debian's interpreter, which has the FTP server library, whatever python3 is first on PATH.
    explicit FtpTestServer(const std::filesystem::path& root, Mode mode = Mode::Answering)
        : server_({"/usr/bin/python3", KYM_FTP_SERVER_SCRIPT, root.string(),
                   std::to_array({"answer", "stall", "busy", "alter",
                                  "answer6"})[static_cast<std::size_t>(mode)]}),
          host_(mode == Mode::AnsweringIpv6 ? "[::1]:" : "127.0.0.1:"),
          port_(server_.readLine(10000)) {}

    // "127.0.0.1:port" or "[::1]:port", or empty when the server did not start.
    std::string address() const { return port_.empty() ? "" : host_ + port_; }

private:
    BackgroundProcess server_;
    std::string host_;
    std::string port_;
};

} // namespace kym::test
