#pragma once

#include "gateway/FtpClient.h"

namespace kym {

// FtpClient on WinINet, the system's own FTP client: its handles and error numbers as they are.
class WinInetFtpClient : public FtpClient {
public:
    explicit WinInetFtpClient(FtpTimeouts timeouts = {});
    ~WinInetFtpClient() override;
    WinInetFtpClient(const WinInetFtpClient&) = delete;
    WinInetFtpClient& operator=(const WinInetFtpClient&) = delete;

    FtpStatus openSession() override;
    FtpStatus connect(const FtpLogin& login) override;
    FtpStatus getFile(std::string_view remoteName, const std::filesystem::path& localPath) override;
    FtpStatus putFile(const std::filesystem::path& localPath, std::string_view remoteName) override;
    FtpResponse lastResponse() const override { return failedReply_; }
    void closeConnection() override;
    void closeSession() override;

private:
    // The error of the call that just failed, with the server's last reply where there is one.
    FtpStatus failed();

    FtpTimeouts timeouts_;
    void* session_ = nullptr;
    void* connection_ = nullptr;
    FtpResponse failedReply_;
};

} // namespace kym
