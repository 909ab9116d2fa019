#include "gateway/WinInetFtpClient.h"

#include "config/ConfigFile.h"
#include "config/WindowsText.h"

#include <algorithm>
#include <cctype>
#include <windows.h>
#include <wininet.h>

namespace kym {
namespace {

struct Address {
    std::wstring host;
    INTERNET_PORT port = INTERNET_DEFAULT_FTP_PORT;
};

// "host", "host:port", "[v6]" or "[v6]:port"; a bare IPv6 address has no port.
Address splitAddress(const std::string& text) {
    const auto colon = text.rfind(':');
    if (colon != std::string::npos && colon + 1 < text.size() && text.size() - colon <= 6) {
        const std::string host = text.substr(0, colon);
        const std::string digits = text.substr(colon + 1);
        const bool bracketed = host.size() > 2 && host.front() == '[' && host.back() == ']';
        if (std::ranges::all_of(digits, [](unsigned char c) { return std::isdigit(c); }) &&
            (bracketed || host.find(':') == std::string::npos)) {
            const long port = std::stol(digits);
            if (port > 0 && port < 65536)
                return {wideFromUtf8(bracketed ? host.substr(1, host.size() - 2) : host),
                        static_cast<INTERNET_PORT>(port)};
        }
    }
    return {wideFromUtf8(text)};
}

void closeHandle(void*& handle) {
    if (handle)
        InternetCloseHandle(handle);
    handle = nullptr;
}

} // namespace

WinInetFtpClient::WinInetFtpClient(FtpTimeouts timeouts) : timeouts_(timeouts) {}

WinInetFtpClient::~WinInetFtpClient() {
    closeSession();
}

FtpStatus WinInetFtpClient::openSession() {
    failedReply_ = {};
    closeSession();
    session_ = InternetOpenW(L"kymtool", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    if (!session_)
        return failed();
    const auto setTimeout = [this](DWORD option, std::chrono::seconds value) {
        DWORD milliseconds = static_cast<DWORD>(value.count() * 1000);
        InternetSetOptionW(session_, option, &milliseconds, sizeof milliseconds);
    };
    setTimeout(INTERNET_OPTION_CONNECT_TIMEOUT, timeouts_.connect);
    setTimeout(INTERNET_OPTION_RECEIVE_TIMEOUT, timeouts_.stall);
    setTimeout(INTERNET_OPTION_SEND_TIMEOUT, timeouts_.stall);
    setTimeout(INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, timeouts_.stall);
    setTimeout(INTERNET_OPTION_DATA_SEND_TIMEOUT, timeouts_.stall);
    return FtpStatus::Ok;
}

FtpStatus WinInetFtpClient::connect(const FtpLogin& login) {
    failedReply_ = {};
    if (!session_)
        return FtpStatus::Internal;
    closeConnection();
    const Address address = splitAddress(login.host);
    connection_ = InternetConnectW(
        session_, address.host.c_str(), address.port, wideFromUtf8(login.user).c_str(),
        wideFromUtf8(login.password).c_str(), INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE, 0);
    return connection_ ? FtpStatus::Ok : failed();
}

// Read through FtpOpenFileW so that the bytes reach the target only by writeFileAtomically: a
// broken transfer leaves the earlier file as it was.
FtpStatus WinInetFtpClient::getFile(std::string_view remoteName,
                                    const std::filesystem::path& localPath) {
    failedReply_ = {};
    if (!connection_)
        return FtpStatus::Internal;
    FtpStatus status = FtpStatus::Ok;
    const auto written = writeFileAtomically(localPath, [&](const FileSink& sink) {
        HINTERNET file = FtpOpenFileW(connection_, wideFromUtf8(remoteName).c_str(), GENERIC_READ,
                                      FTP_TRANSFER_TYPE_BINARY | INTERNET_FLAG_RELOAD, 0);
        if (!file) {
            status = failed();
            return false;
        }
        char buffer[16384];
        DWORD count = 0;
        bool whole = false;
        while (true) {
            if (!InternetReadFile(file, buffer, sizeof buffer, &count)) {
                status = failed();
                break;
            }
            if (count == 0) {
                whole = true;
                break;
            }
            if (!sink({buffer, count}))
                break;
        }
        InternetCloseHandle(file);
        return whole;
    });
    if (status != FtpStatus::Ok)
        return status;
    return written ? FtpStatus::Ok : FtpStatus::Internal;
}

FtpStatus WinInetFtpClient::putFile(const std::filesystem::path& localPath,
                                    std::string_view remoteName) {
    failedReply_ = {};
    if (!connection_)
        return FtpStatus::Internal;
    if (!FtpPutFileW(connection_, localPath.wstring().c_str(), wideFromUtf8(remoteName).c_str(),
                     FTP_TRANSFER_TYPE_BINARY, 0))
        return failed();
    return FtpStatus::Ok;
}

void WinInetFtpClient::closeConnection() {
    closeHandle(connection_);
}

void WinInetFtpClient::closeSession() {
    closeConnection();
    closeHandle(session_);
}

FtpStatus WinInetFtpClient::failed() {
    const DWORD error = GetLastError();
    const auto status = static_cast<FtpStatus>(error ? error : code(FtpStatus::Internal));
    // The last reply is kept per thread, so it belongs to this failure only if one of these says
    // that the server answered: Wine reports a refused login and a 421 greeting as 12015 and 12110.
    constexpr DWORD kAnswered[] = {ERROR_INTERNET_EXTENDED_ERROR, ERROR_INTERNET_INCORRECT_PASSWORD,
                                   ERROR_INTERNET_LOGIN_FAILURE, ERROR_FTP_TRANSFER_IN_PROGRESS};
    if (std::ranges::find(kAnswered, error) == std::end(kAnswered))
        return status;
    DWORD replyError = 0;
    DWORD length = 0;
    InternetGetLastResponseInfoW(&replyError, nullptr, &length);
    std::wstring text(length + 1, L'\0');
    length = static_cast<DWORD>(text.size());
    if (InternetGetLastResponseInfoW(&replyError, text.data(), &length))
        text.resize(length);
    else
        text.clear();
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L'\0'))
        text.pop_back();
    failedReply_.text = utf8FromWide(text);
    // The reply code leads the text; WinINet's own number is not the server's.
    const std::string& reply = failedReply_.text;
    failedReply_.code =
        reply.size() >= 3 && std::all_of(reply.begin(), reply.begin() + 3,
                                         [](unsigned char c) { return std::isdigit(c); })
            ? std::stoi(reply.substr(0, 3))
            : static_cast<int>(replyError);
    return status;
}

} // namespace kym
