#include "gateway/GatewayFtpSession.h"

#include "config/Paths.h"
#include "config/TextLines.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace kym {
namespace {

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// How the bytes read back differ from those sent, for the message.
std::string difference(const std::string& sent, const std::string& stored) {
    const auto first = std::ranges::mismatch(sent, stored).in1 - sent.begin();
    std::ostringstream text;
    text << " (" << sent.size() << " bytes sent, " << stored.size()
         << " bytes read back, first difference at byte " << first << ")";
    return text.str();
}

} // namespace

GatewayFtpSession::GatewayFtpSession(FtpClient& client, Prompter& prompter)
    : client_(client), prompter_(prompter) {}

bool GatewayFtpSession::get(const FtpLogin& login, const std::filesystem::path& target) {
    openSession();
    connect(login);
    bool fetched = false;
    if (connected_) {
        const FtpStatus status = client_.getFile(kRemoteConfigName, target);
        fetched = status == FtpStatus::Ok;
        if (fetched)
            prompter_.inform(std::string(ftpmsg::kFilePlacedIn) + utf8Of(target));
        else
            ErrorOut(status, "FtpGetFile");
    } else {
        prompter_.inform(std::string(ftpmsg::kNotInSession));
    }
    closeAll();
    closeConnection();
    return fetched;
}

bool GatewayFtpSession::send(const FtpLogin& login, const std::string& localFile, bool verify) {
    openSession();
    connect(login);
    bool sent = false;
    if (!connected_) {
        prompter_.inform(std::string(ftpmsg::kNotInSession));
    } else if (localFile.empty()) {
        prompter_.inform(std::string(ftpmsg::kSelectLocalFile));
    } else {
        const FtpStatus status = client_.putFile(pathFromUtf8(localFile), kRemoteConfigName);
        sent = status == FtpStatus::Ok && (!verify || storedAsSent(localFile));
        if (sent)
            prompter_.inform(std::string(ftpmsg::kFileSent));
        else if (status != FtpStatus::Ok)
            ErrorOut(status, "FtpPutFile");
    }
    closeAll();
    closeConnection();
    return sent;
}

// A server may store something else than it was sent (a full disk, a text-mode transfer, a
// filter): the stored file is fetched into a temporary copy and compared byte for byte.
bool GatewayFtpSession::storedAsSent(const std::string& localFile) {
    const auto copy = std::filesystem::temp_directory_path() /
                      ("kym-readback-" + std::to_string(std::random_device{}()) + ".cfg");
    const FtpStatus status = client_.getFile(kRemoteConfigName, copy);
    const std::string stored = fileBytes(copy);
    std::error_code ignored;
    std::filesystem::remove(copy, ignored);
    if (status != FtpStatus::Ok) {
        ErrorOut(status, "FtpGetFile");
        return false;
    }
    const std::string sent = fileBytes(pathFromUtf8(localFile));
    if (sent == stored)
        return true;
    prompter_.inform(std::string(ftpmsg::kStoredDiffers) + difference(sent, stored));
    return false;
}

void GatewayFtpSession::openSession() {
    const FtpStatus status = client_.openSession();
    sessionOpen_ = status == FtpStatus::Ok;
    if (!sessionOpen_)
        ErrorOut(status, "InternetOpen");
}

void GatewayFtpSession::connect(const FtpLogin& login) {
    if (connected_ || !sessionOpen_)
        return;
    if (login.host.empty()) {
        prompter_.inform(std::string(ftpmsg::kEnterAddress));
        return;
    }
    const FtpStatus status = client_.connect(login);
    connectionOpen_ = status == FtpStatus::Ok;
    connected_ = connectionOpen_;
    if (!connected_)
        ErrorOut(status, "InternetConnect");
}

void GatewayFtpSession::closeAll() {
    if (connectionOpen_)
        client_.closeConnection();
    if (sessionOpen_)
        client_.closeSession();
    connectionOpen_ = false;
    sessionOpen_ = false;
}

void GatewayFtpSession::closeConnection() {
    if (connectionOpen_)
        client_.closeConnection();
    connectionOpen_ = false;
    connected_ = false;
}

void GatewayFtpSession::ErrorOut(FtpStatus status, std::string_view function) {
    const std::string name(function);
    if (status == FtpStatus::ServerRefused) {
        const FtpResponse reply = client_.lastResponse();
        prompter_.inform(name + " Extd Err: " + std::to_string(reply.code) + " " +
                         shortened(reply.text));
    }
    if (prompter_.askYesNo(name + " Err: " + std::to_string(code(status)) + "\r\n" +
                           std::string(ftpmsg::kCloseQuestion))) {
        closeAll();
        connected_ = false;
    }
}

} // namespace kym
