#include "FtpTestServer.h"

#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kym::test {
namespace {

constexpr int kServerLifetimeSeconds = 60;
constexpr int kStartTimeoutMs = 10000;

} // namespace

FtpTestServer::FtpTestServer(const std::filesystem::path& root, Downloads downloads) {
    std::filesystem::create_directories(root);
    int output[2];
    if (::pipe2(output, O_CLOEXEC) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    const std::string lifetime = std::to_string(kServerLifetimeSeconds);
    const std::string rootText = root.string();
    const char* argv[] = {"python3",
                          KYM_FTP_SERVER_SCRIPT,
                          rootText.c_str(),
                          lifetime.c_str(),
                          downloads == Downloads::Stalled ? "stall" : nullptr,
                          nullptr};
    pid_t pid = -1;
    // Debian's interpreter, which has the FTP server library, whatever python3 is first on PATH.
    if (posix_spawn(&pid, "/usr/bin/python3", &actions, nullptr, const_cast<char**>(argv),
                    environ) == 0)
        pid_ = pid;
    posix_spawn_file_actions_destroy(&actions);
    ::close(output[1]);

    std::string line;
    pollfd ready{output[0], POLLIN, 0};
    char c = 0;
    while (pid_ > 0 && ::poll(&ready, 1, kStartTimeoutMs) == 1 && ::read(output[0], &c, 1) == 1 &&
           c != '\n')
        line += c;
    ::close(output[0]);
    if (c == '\n' && !line.empty())
        address_ = "127.0.0.1:" + line;
}

FtpTestServer::~FtpTestServer() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

// Binds a socket to a free loopback port and closes it without listening.
int closedLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                       ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    ::close(fd);
    return bound ? ntohs(address.sin_port) : 0;
}

} // namespace kym::test
