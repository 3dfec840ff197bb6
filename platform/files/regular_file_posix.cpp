// readRegularFile with open(2): O_NONBLOCK keeps opening a FIFO from waiting for a writer, and
// fstat on the descriptor judges what was opened, not what the path named a moment before.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/files/regular_file.h"

namespace quintrel {

FileBytes readRegularFile(const std::filesystem::path& path, std::size_t limit) {
    FileBytes out;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        out.systemError = errno;
        return out;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        out.systemError = errno;
    } else if (!S_ISREG(info.st_mode)) {
        out.notRegular = true;
    }
    // A regular file never makes a read wait, O_NONBLOCK or not.
    while (out.ok() && out.bytes.size() < limit) {
        const std::size_t had = out.bytes.size();
        out.bytes.resize(std::min(limit, had + 65536));
        const ssize_t got = ::read(fd, out.bytes.data() + had, out.bytes.size() - had);
        out.bytes.resize(had + static_cast<std::size_t>(got > 0 ? got : 0));
        if (got < 0 && errno != EINTR) {
            out.systemError = errno;
        } else if (got == 0) {
            break;
        }
    }
    ::close(fd);
    return out;
}

}  // namespace quintrel
