#pragma once

#include <string>
#include <string_view>
#include <windows.h>

namespace kym {

// The program's UTF-8 texts and the system's wide ones, converted at the one edge where they meet.
inline std::wstring wideFromUtf8(std::string_view text) {
    const int size =
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                          size);
    return result;
}

inline std::string utf8FromWide(std::wstring_view text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                          size, nullptr, nullptr);
    return result;
}

// The system's description of a Windows error code in UTF-8, as every message is, without its
// trailing full stop and line end. The wide call keeps letters outside the ANSI code page.
inline std::string systemText(DWORD code) {
    wchar_t* wide = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&wide), 0, nullptr);
    std::string message = length ? utf8FromWide({wide, length}) : std::string();
    ::LocalFree(wide);
    if (message.empty())
        message = "error " + std::to_string(code);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    return message;
}

} // namespace kym
