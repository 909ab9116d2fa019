#pragma once

#include "gateway/FtpClient.h"

namespace kym {

// Makes the system's real FTP clients: libcurl's, or WinINet's on Windows.
FtpClientFactory systemFtpClients();

} // namespace kym
