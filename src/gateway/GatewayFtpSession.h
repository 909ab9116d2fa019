#pragma once

#include "gateway/FtpClient.h"
#include "ui/Prompter.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace kym {

inline constexpr std::string_view kRemoteConfigName = "config.cfg";
inline constexpr std::string_view kDefaultFtpUser = "root";
inline constexpr std::string_view kDefaultFtpPassword = "lumo";

// The messages of the gateway file exchange, exact to the blank.
namespace ftpmsg {
inline constexpr std::string_view kEnterAddress = "Please enter an IP Address for the Gateway!";
inline constexpr std::string_view kNotInSession = "Not in session";
inline constexpr std::string_view kSelectLocalFile = "Please select a local file to send.";
inline constexpr std::string_view kFileSent = "File has been sent";
inline constexpr std::string_view kFilePlacedIn = "File has been placed in ";
inline constexpr std::string_view kCloseQuestion = "Close Connection and Session?";
inline constexpr std::string_view kStoredDiffers =
    "Verify failed: config.cfg on the gateway differs from the file sent";
} // namespace ftpmsg

// The gateway's file exchange: each get() or send() is one whole exchange (open a session, connect
// and log in, transfer, close everything) that tells the user what happened through the
// prompter, in order. Between two exchanges no handle is open.
class GatewayFtpSession {
public:
    GatewayFtpSession(FtpClient& client, Prompter& prompter);

    // Fetches the gateway's config.cfg into target; true when it arrived.
    bool get(const FtpLogin& login, const std::filesystem::path& target);
    // Stores localFile on the gateway as config.cfg and, with verify, reads it back: true when
    // it was stored and the gateway returns the very bytes sent.
    bool send(const FtpLogin& login, const std::string& localFile, bool verify = true);
    // Closes the connection, then the session, where open.
    void closeAll();

    bool connected() const { return connected_; }
    bool sessionOpen() const { return sessionOpen_; }
    bool connectionOpen() const { return connectionOpen_; }

private:
    void openSession();
    void connect(const FtpLogin& login);
    void closeConnection();
    bool storedAsSent(const std::string& localFile);
    void ErrorOut(FtpStatus status, std::string_view function);

    FtpClient& client_;
    Prompter& prompter_;
    bool connected_ = false;
    bool sessionOpen_ = false;
    bool connectionOpen_ = false;
};

} // namespace kym
