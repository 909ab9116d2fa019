// The durable append on POSIX systems: O_APPEND, one write, fsync.
#include "AppendFile.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kym {

Result<void> appendDurably(const std::filesystem::path& path, std::string_view firstLine,
                           std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return Error{errnoText(errno)};
    struct stat status {};
    int failure = ::fstat(fd, &status) == 0 ? 0 : errno;
    std::string text;
    if (status.st_size == 0)
        text = firstLine;
    text += bytes;
    std::string_view rest = text;
    while (failure == 0 && !rest.empty()) {
        const ssize_t written = ::write(fd, rest.data(), rest.size());
        if (written > 0)
            rest.remove_prefix(static_cast<std::size_t>(written));
        else if (errno != EINTR)
            failure = errno;
    }
    // No test sees a skipped fsync: only a power cut before the data reaches the disk does.
    if (failure == 0 && ::fsync(fd) != 0)
        failure = errno;
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure == 0)
        return {};
    return Error{errnoText(failure)};
}

} // namespace kym
