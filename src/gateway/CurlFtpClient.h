#pragma once

#include "gateway/FtpClient.h"

#include <memory>

namespace kym {

// FtpClient on libcurl. The connection is a libcurl handle that keeps its logged-in control
// connection between the login and the transfer; closing it says goodbye to the server.
class CurlFtpClient : public FtpClient {
public:
    explicit CurlFtpClient(FtpTimeouts timeouts = {});
    ~CurlFtpClient() override;
    CurlFtpClient(const CurlFtpClient&) = delete;
    CurlFtpClient& operator=(const CurlFtpClient&) = delete;

    FtpStatus openSession() override;
    FtpStatus connect(const FtpLogin& login) override;
    FtpStatus getFile(std::string_view remoteName, const std::filesystem::path& localPath) override;
    FtpStatus putFile(const std::filesystem::path& localPath, std::string_view remoteName) override;
    FtpResponse lastResponse() const override { return failedReply_; }
    void closeConnection() override;
    void closeSession() override;

private:
    struct Connection;

    // libcurl hands every line of the server's replies to this callback.
    static std::size_t onReplyLine(char* data, std::size_t size, std::size_t count, void* client);
    void addReplyLine(std::string_view line);

    // Runs the prepared transfer and records the reply that ended it.
    FtpStatus perform(const std::string& url);

    FtpTimeouts timeouts_;
    bool session_ = false;
    std::unique_ptr<Connection> connection_;
    std::string replyLines_;
    FtpResponse lastReply_;
    FtpResponse failedReply_;
};

// Makes the real clients.
FtpClientFactory curlFtpClients();

} // namespace kym
