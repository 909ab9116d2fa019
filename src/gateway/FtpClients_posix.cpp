#include "gateway/CurlFtpClient.h"
#include "gateway/FtpClients.h"

namespace kym {

FtpClientFactory systemFtpClients() {
    return curlFtpClients();
}

} // namespace kym
