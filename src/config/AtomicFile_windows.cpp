// The atomic save on Windows: a new file beside the target, flushed to the disk, then moved over
// the target in one step. rename() cannot replace an existing file there.
#include "ConfigFile.h"
#include "WindowsText.h"

#include <algorithm>
#include <windows.h>

namespace kym {
namespace {

// A name no other save uses: CREATE_NEW refuses one that exists, so a clash tries the next.
HANDLE createTemporary(const std::filesystem::path& path, std::wstring& temp) {
    const std::wstring stem =
        path.wstring() + L"." + std::to_wstring(::GetCurrentProcessId()) + L"-";
    for (ULONGLONG attempt = ::GetTickCount64(), last = attempt + 100; attempt < last; ++attempt) {
        temp = stem + std::to_wstring(attempt % 100000) + L".tmp";
        const HANDLE file = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

} // namespace

Result<void> writeFileAtomically(const std::filesystem::path& path,
                                 const std::function<bool(const FileSink&)>& fill) {
    std::wstring temp;
    const HANDLE file = createTemporary(path, temp);
    if (file == INVALID_HANDLE_VALUE)
        return Error{systemText(::GetLastError())};

    DWORD failure = 0;
    const FileSink sink = [file, &failure](std::string_view bytes) {
        while (failure == 0 && !bytes.empty()) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 30));
            DWORD written = 0;
            if (::WriteFile(file, bytes.data(), chunk, &written, nullptr) && written > 0)
                bytes.remove_prefix(written);
            else
                failure = ::GetLastError();
        }
        return failure == 0;
    };
    if (failure == 0 && !fill(sink) && failure == 0)
        failure = ERROR_CANCELLED;
    if (failure == 0 && !::FlushFileBuffers(file))
        failure = ::GetLastError();
    if (!::CloseHandle(file) && failure == 0)
        failure = ::GetLastError();
    if (failure == 0 && !::MoveFileExW(temp.c_str(), path.c_str(),
                                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        failure = ::GetLastError();
    if (failure == 0)
        return {};
    ::DeleteFileW(temp.c_str());
    return Error{systemText(failure)};
}

} // namespace kym
