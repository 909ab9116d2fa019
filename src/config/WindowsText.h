#pragma once

#include <string>
#include <windows.h>

namespace kym {

// The system's description of a Windows error code in UTF-8, as every message is, without its
// trailing full stop and line end. The wide call keeps letters outside the ANSI code page.
inline std::string systemText(DWORD code) {
    wchar_t* wide = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&wide), 0, nullptr);
    std::string message;
    if (length) {
        const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), nullptr,
                                               0, nullptr, nullptr);
        message.resize(static_cast<std::size_t>(size > 0 ? size : 0));
        ::WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), message.data(), size,
                              nullptr, nullptr);
    }
    ::LocalFree(wide);
    if (message.empty())
        message = "error " + std::to_string(code);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    return message;
}

} // namespace kym
