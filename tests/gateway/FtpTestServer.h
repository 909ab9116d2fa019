#pragma once

#include <filesystem>
#include <string>

namespace kym::test {

// A real FTP server on 127.0.0.1 serving a folder (created when missing) to "root" with the default
// password. It runs for at most a minute and is stopped with the object. A stalling server never
// answers a download request.
class FtpTestServer {
public:
    enum class Downloads { Answered, Stalled };
    explicit FtpTestServer(const std::filesystem::path& root,
                           Downloads downloads = Downloads::Answered);
    ~FtpTestServer();
    FtpTestServer(const FtpTestServer&) = delete;
    FtpTestServer& operator=(const FtpTestServer&) = delete;

    // "127.0.0.1:port", or empty when the server did not start.
    const std::string& address() const { return address_; }

private:
    int pid_ = -1;
    std::string address_;
};

// A loopback port nothing listens on.
int closedLoopbackPort();

} // namespace kym::test
