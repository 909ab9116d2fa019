#include "gateway/CurlFtpClient.h"

#include "config/ConfigFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <curl/curl.h>
#include <mutex>
#include <optional>

namespace kym {
namespace {

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

struct Address {
    std::string host;
    std::string port; // empty: the FTP default
};

// "host", "host:port", "[v6]" or "[v6]:port"; a bare IPv6 address has no port.
Address splitAddress(const std::string& text) {
    const auto colon = text.rfind(':');
    if (colon != std::string::npos) {
        std::string host = text.substr(0, colon);
        const bool bracketed = host.size() > 2 && host.front() == '[' && host.back() == ']';
        if (allDigits(std::string_view(text).substr(colon + 1)) &&
            (bracketed || host.find(':') == std::string::npos))
            return {std::move(host), text.substr(colon + 1)};
    }
    if (text.find(':') != std::string::npos && text.front() != '[')
        return {"[" + text + "]", {}};
    return {text, {}};
}

// The URL of a file in the login folder, or nothing when the address is not a host name or
// address (libcurl checks it, so nothing typed into the field can change the request).
std::optional<std::string> fileUrl(const std::string& address, std::string_view remoteName) {
    const Address parts = splitAddress(address);
    const std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> url(curl_url(), curl_url_cleanup);
    const std::string path = "/" + std::string(remoteName);
    if (!url || curl_url_set(url.get(), CURLUPART_SCHEME, "ftp", 0) != CURLUE_OK ||
        curl_url_set(url.get(), CURLUPART_HOST, parts.host.c_str(), 0) != CURLUE_OK ||
        (!parts.port.empty() &&
         curl_url_set(url.get(), CURLUPART_PORT, parts.port.c_str(), 0) != CURLUE_OK) ||
        curl_url_set(url.get(), CURLUPART_PATH, path.c_str(), CURLU_URLENCODE) != CURLUE_OK)
        return std::nullopt;
    char* text = nullptr;
    if (curl_url_get(url.get(), CURLUPART_URL, &text, 0) != CURLUE_OK)
        return std::nullopt;
    std::string result(text);
    curl_free(text);
    return result;
}

FtpStatus statusOf(CURLcode result, const FtpResponse& reply) {
    switch (result) {
    case CURLE_OK:
        return FtpStatus::Ok;
    case CURLE_COULDNT_RESOLVE_HOST:
        return FtpStatus::NameNotResolved;
    case CURLE_COULDNT_CONNECT:
        return FtpStatus::CannotConnect;
    case CURLE_OPERATION_TIMEDOUT:
        // libcurl also reports a 421 reply ("service not available") this way; that is a refusal.
        return reply.code == 421 ? FtpStatus::ServerRefused : FtpStatus::Timeout;
    default:
        return reply.code >= 400 ? FtpStatus::ServerRefused : FtpStatus::Internal;
    }
}

// A write that fails ends the transfer.
std::size_t writeTo(char* data, std::size_t size, std::size_t count, void* sink) {
    const std::size_t length = size * count;
    return (*static_cast<const FileSink*>(sink))({data, length}) ? length : 0;
}

} // namespace

struct CurlFtpClient::Connection {
    explicit Connection(CURL* easy) : handle(easy) {}
    ~Connection() { curl_easy_cleanup(handle); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    CURL* handle;
    std::string address;
};

CurlFtpClient::CurlFtpClient(FtpTimeouts timeouts) : timeouts_(timeouts) {}

CurlFtpClient::~CurlFtpClient() {
    closeSession();
}

FtpStatus CurlFtpClient::openSession() {
    static std::once_flag once;
    static CURLcode initialised = CURLE_OK;
    std::call_once(once, [] { initialised = curl_global_init(CURL_GLOBAL_DEFAULT); });
    session_ = initialised == CURLE_OK;
    return session_ ? FtpStatus::Ok : FtpStatus::Internal;
}

FtpStatus CurlFtpClient::connect(const FtpLogin& login) {
    failedReply_ = {};
    if (!session_)
        return FtpStatus::Internal;
    const auto url = fileUrl(login.host, "");
    if (!url)
        return FtpStatus::NameNotResolved;
    CURL* handle = curl_easy_init();
    if (!handle)
        return FtpStatus::Internal;
    auto connection = std::make_unique<Connection>(handle);
    connection->address = login.host;

    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(handle, CURLOPT_USERNAME, login.user.c_str());
    curl_easy_setopt(handle, CURLOPT_PASSWORD, login.password.c_str());
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, static_cast<long>(timeouts_.connect.count()));
    curl_easy_setopt(handle, CURLOPT_SERVER_RESPONSE_TIMEOUT,
                     static_cast<long>(timeouts_.stall.count()));
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, static_cast<long>(timeouts_.stall.count()));
    // Passive mode is libcurl's default (no CURLOPT_FTPPORT); binary is asked for explicitly.
    curl_easy_setopt(handle, CURLOPT_TRANSFERTEXT, 0L);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, &CurlFtpClient::onReplyLine);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, this);
    // The login folder itself without a listing: connect and log in, nothing more.
    curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);

    connection_ = std::move(connection);
    const FtpStatus status = perform(*url);
    if (status != FtpStatus::Ok)
        connection_.reset();
    return status;
}

FtpStatus CurlFtpClient::getFile(std::string_view remoteName,
                                 const std::filesystem::path& localPath) {
    failedReply_ = {};
    if (!connection_)
        return FtpStatus::Internal;
    const auto url = fileUrl(connection_->address, remoteName);
    if (!url)
        return FtpStatus::Internal;
    CURL* handle = connection_->handle;
    curl_easy_setopt(handle, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(handle, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &writeTo);
    FtpStatus status = FtpStatus::Internal;
    const auto written = writeFileAtomically(localPath, [&](const FileSink& sink) {
        curl_easy_setopt(handle, CURLOPT_WRITEDATA, &sink);
        status = perform(*url);
        curl_easy_setopt(handle, CURLOPT_WRITEDATA, nullptr);
        return status == FtpStatus::Ok;
    });
    if (status != FtpStatus::Ok)
        return status;
    return written ? FtpStatus::Ok : FtpStatus::Internal;
}

FtpStatus CurlFtpClient::putFile(const std::filesystem::path& localPath,
                                 std::string_view remoteName) {
    failedReply_ = {};
    if (!connection_)
        return FtpStatus::Internal;
    const auto url = fileUrl(connection_->address, remoteName);
    const std::unique_ptr<std::FILE, decltype(&std::fclose)> file(
        std::fopen(localPath.c_str(), "rb"), std::fclose);
    std::error_code sizeError;
    const auto size = std::filesystem::file_size(localPath, sizeError);
    if (!url || !file || sizeError)
        return FtpStatus::Internal;
    CURL* handle = connection_->handle;
    curl_easy_setopt(handle, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(handle, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(handle, CURLOPT_READDATA, file.get());
    curl_easy_setopt(handle, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
    const FtpStatus status = perform(*url);
    curl_easy_setopt(handle, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(handle, CURLOPT_READDATA, nullptr);
    return status;
}

void CurlFtpClient::closeConnection() {
    connection_.reset();
}

void CurlFtpClient::closeSession() {
    closeConnection();
    session_ = false;
}

FtpStatus CurlFtpClient::perform(const std::string& url) {
    replyLines_.clear();
    lastReply_ = {};
    curl_easy_setopt(connection_->handle, CURLOPT_URL, url.c_str());
    const FtpStatus status = statusOf(curl_easy_perform(connection_->handle), lastReply_);
    if (status == FtpStatus::ServerRefused)
        failedReply_ = lastReply_;
    return status;
}

std::size_t CurlFtpClient::onReplyLine(char* data, std::size_t size, std::size_t count,
                                       void* client) {
    static_cast<CurlFtpClient*>(client)->addReplyLine(std::string_view(data, size * count));
    return size * count;
}

// A reply ends with the line that starts with its code and a blank; the lines before belong to
// the same reply (a multi-line reply starts with the code and a dash).
void CurlFtpClient::addReplyLine(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    if (!replyLines_.empty())
        replyLines_ += kCrLf;
    replyLines_ += line;
    const bool last =
        line.size() >= 3 && allDigits(line.substr(0, 3)) && (line.size() == 3 || line[3] == ' ');
    if (last) {
        lastReply_ = {std::stoi(std::string(line.substr(0, 3))), std::move(replyLines_)};
        replyLines_.clear();
    }
}

FtpClientFactory curlFtpClients() {
    return [] { return std::make_unique<CurlFtpClient>(); };
}

} // namespace kym
