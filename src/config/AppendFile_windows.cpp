// The durable append on Windows: append-only access, one write, FlushFileBuffers.
#include "AppendFile.h"
#include "WindowsText.h"

#include <string>

namespace kym {

Result<void> appendDurably(const std::filesystem::path& path, std::string_view firstLine,
                           std::string_view bytes) {
    const HANDLE file =
        ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Error{systemText(::GetLastError())};
    LARGE_INTEGER size{};
    DWORD failure = ::GetFileSizeEx(file, &size) ? 0 : ::GetLastError();
    std::string text;
    if (size.QuadPart == 0)
        text = firstLine;
    text += bytes;
    DWORD written = 0;
    if (failure == 0 &&
        (!::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
         written != text.size()))
        failure = ::GetLastError();
    if (failure == 0 && !::FlushFileBuffers(file))
        failure = ::GetLastError();
    if (!::CloseHandle(file) && failure == 0)
        failure = ::GetLastError();
    if (failure == 0)
        return {};
    return Error{systemText(failure)};
}

} // namespace kym
