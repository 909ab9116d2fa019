#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace kym::bench {

// Starts a program with its standard input and output on the given descriptors; without one, the
// input is this process's and the output is discarded. -1 when the program cannot be started.
inline pid_t spawn(std::vector<std::string> args, int stdinFd = -1, int stdoutFd = -1) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdinFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdinFd, 0);
    if (stdoutFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdoutFd, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

} // namespace kym::bench
