#pragma once

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <sys/resource.h>
#endif

namespace kym::test {

// Runs fn while a save over path cannot succeed, even for root: on Windows the file is held open
// without sharing; elsewhere writes beyond 8 bytes fail (EFBIG), so the save fails half-way.
template <class Fn>
auto withFailingSave([[maybe_unused]] const std::filesystem::path& path, Fn fn) {
#ifdef _WIN32
    const HANDLE held = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    auto result = fn();
    ::CloseHandle(held);
#else
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit limited{.rlim_cur = 8, .rlim_max = saved.rlim_max};
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limited);
    auto result = fn();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
#endif
    return result;
}

} // namespace kym::test
