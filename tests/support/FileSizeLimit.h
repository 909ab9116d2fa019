#pragma once

#include <csignal>
#include <sys/resource.h>

namespace kym::test {

// Runs fn with writes beyond bytes failing (EFBIG), so a save fails half-way even for root, for
// whom read-only folders are writable.
template <class Fn> auto withFileSizeLimit(rlim_t bytes, Fn fn) {
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = bytes;
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limited);
    auto result = fn();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    return result;
}

} // namespace kym::test
