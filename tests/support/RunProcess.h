#pragma once

#include <string>
#include <vector>

namespace kym::test {

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program to its end and collects its exit code and both output streams.
ProcessResult runProcess(const std::vector<std::string>& argv);

} // namespace kym::test
