#include "gateway/FtpClients.h"
#include "gateway/WinInetFtpClient.h"

namespace kym {

FtpClientFactory systemFtpClients() {
    return [] { return std::make_unique<WinInetFtpClient>(); };
}

} // namespace kym
