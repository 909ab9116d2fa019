#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace kym::test {

// A program that runs beside the test until stopped, its standard output read line by line.
class BackgroundProcess {
public:
    explicit BackgroundProcess(const std::vector<std::string>& argv);
    ~BackgroundProcess();
    BackgroundProcess(const BackgroundProcess&) = delete;
    BackgroundProcess& operator=(const BackgroundProcess&) = delete;

    // The next line without its end; empty when none comes within the time.
    std::string readLine(int timeoutMs = 5000);
    // Ends the program with SIGTERM and returns the output it had not yet been asked for and
    // its exit code.
    std::string stop(int* exitCode = nullptr);

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string pending_;
};

} // namespace kym::test
