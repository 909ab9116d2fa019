#include "support/BackgroundProcess.h"

#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace kym::test {

BackgroundProcess::BackgroundProcess(const std::vector<std::string>& argv) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::vector<char*> args;
    for (const auto& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    out_ = pipeFds[0];
}

BackgroundProcess::~BackgroundProcess() {
    stop();
}

std::string BackgroundProcess::readLine(int timeoutMs) {
    for (;;) {
        if (const auto end = pending_.find('\n'); end != std::string::npos) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return line;
        }
        pollfd fd{out_, POLLIN, 0};
        if (out_ < 0 || ::poll(&fd, 1, timeoutMs) <= 0)
            return {};
        char buffer[4096];
        const ssize_t got = ::read(out_, buffer, sizeof buffer);
        if (got <= 0)
            return {};
        pending_.append(buffer, static_cast<std::size_t>(got));
    }
}

std::string BackgroundProcess::stop(int* exitCode) {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        if (exitCode)
            *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        pid_ = -1;
    }
    if (out_ >= 0) {
        char buffer[4096];
        for (ssize_t got; (got = ::read(out_, buffer, sizeof buffer)) > 0;)
            pending_.append(buffer, static_cast<std::size_t>(got));
        ::close(out_);
        out_ = -1;
    }
    return std::exchange(pending_, {});
}

} // namespace kym::test
