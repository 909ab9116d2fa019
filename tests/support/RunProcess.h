#pragma once

#include "support/TempDir.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace kym::test {

struct ProcessResult {
    int exitCode = -1;
    std::string out, err;
};

// A program that runs beside the test: its standard input is the given text (never the test's
// terminal), its standard output is read through a pipe, its standard error is collected in a
// file. It is ended with SIGTERM when dropped before its end.
class BackgroundProcess {
public:
    explicit BackgroundProcess(std::vector<std::string> argv, const std::string& input = {}) {
        writeFile(dir_ / "in", input);
        int pipeFds[2];
        if (::pipe2(pipeFds, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, (dir_ / "in").c_str(), O_RDONLY,
                                         0);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (dir_ / "err").c_str(),
                                         O_WRONLY | O_CREAT, 0600);
        std::vector<char*> args(argv.size() + 1, nullptr);
        for (std::size_t i = 0; i < argv.size(); ++i)
            args[i] = argv[i].data();
        if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeFds[1]);
        out_ = pipeFds[0];
    }
    ~BackgroundProcess() { finish(true); }
    BackgroundProcess(const BackgroundProcess&) = delete;
    BackgroundProcess& operator=(const BackgroundProcess&) = delete;

    // The next line without its end, or as much of it as came, each byte within the time.
    std::string readLine(int timeoutMs = 5000) {
        std::string line;
        pollfd ready{out_, POLLIN, 0};
        for (char c; ::poll(&ready, 1, timeoutMs) == 1 && ::read(out_, &c, 1) == 1 && c != '\n';)
            line += c;
        return line;
    }

    // Waits for the program's end, after SIGTERM when terminate is set; out holds the output
    // readLine has not read, read to the end first so that the program never blocks on a full pipe.
    ProcessResult finish(bool terminate) {
        ProcessResult result;
        if (pid_ > 0 && terminate)
            ::kill(pid_, SIGTERM);
        char buffer[4096];
        for (ssize_t got; out_ >= 0 && (got = ::read(out_, buffer, sizeof buffer)) > 0;)
            result.out.append(buffer, static_cast<std::size_t>(got));
        if (out_ >= 0)
            ::close(std::exchange(out_, -1));
        if (int status = 0; pid_ > 0 && ::waitpid(std::exchange(pid_, -1), &status, 0) > 0)
            result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        result.err = readFile(dir_ / "err");
        return result;
    }
    std::string stop() { return finish(true).out; }

private:
    TempDir dir_;
    pid_t pid_ = -1;
    int out_ = -1;
};

// Runs a program to its end.
inline ProcessResult runProcess(const std::vector<std::string>& argv,
                                const std::string& input = {}) {
    return BackgroundProcess(argv, input).finish(false);
}

} // namespace kym::test
