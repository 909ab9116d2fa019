// The atomic save on POSIX systems: mkstemp beside the file, fsync, then rename over it.
#include "ConfigFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kym {

Result<void> writeFileAtomically(const std::filesystem::path& path,
                                 const std::function<bool(const FileSink&)>& fill) {
    std::string temp = path.string() + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return Error{errnoText(errno)};

    // Keep the mode of the file being replaced; a new file gets the usual umask mode.
    struct stat existing {};
    mode_t mode = 0;
    if (::stat(path.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    int failure = ::fchmod(fd, mode) == 0 ? 0 : errno;
    const FileSink sink = [fd, &failure](std::string_view bytes) {
        while (failure == 0 && !bytes.empty()) {
            const ssize_t written = ::write(fd, bytes.data(), bytes.size());
            if (written > 0)
                bytes.remove_prefix(static_cast<std::size_t>(written));
            else if (errno != EINTR)
                failure = errno;
        }
        return failure == 0;
    };
    if (failure == 0 && !fill(sink) && failure == 0)
        failure = ECANCELED;
    // No test sees a skipped fsync: only a power cut before the data reaches the disk does.
    if (failure == 0 && ::fsync(fd) != 0)
        failure = errno;
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure == 0 && ::rename(temp.c_str(), path.c_str()) != 0)
        failure = errno;
    if (failure == 0)
        return {};
    ::unlink(temp.c_str());
    return Error{errnoText(failure)};
}

} // namespace kym
