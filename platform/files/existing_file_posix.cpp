// The existing file with stat(2), fchown(2) and pread/pwrite/ftruncate/fsync on a descriptor.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <vector>

#include "platform/files/existing_file.h"

namespace quintrel {

namespace {

// Whether this process may give a file of its own the group: its effective group, one of its
// supplementary groups, or any group for the superuser.
bool mayGiveGroup(gid_t group) {
    if (geteuid() == 0 || getegid() == group) {
        return true;
    }
    const int count = getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<std::size_t>(count > 0 ? count : 0));
    const int got = getgroups(static_cast<int>(groups.size()), groups.data());
    for (int k = 0; k < got; ++k) {
        if (groups[static_cast<std::size_t>(k)] == group) {
            return true;
        }
    }
    return false;
}

}  // namespace

ExistingFile inspectExistingFile(const std::filesystem::path& path) {
    ExistingFile out;
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0) {
        return out;  // nothing there, or nothing this user may look at: the save will say which
    }
    out.exists = true;
    out.group = link.st_gid;
    out.mode = link.st_mode & 07777;
    out.replaceable = S_ISREG(link.st_mode) && link.st_nlink == 1 && link.st_uid == geteuid() &&
                      mayGiveGroup(link.st_gid);
    return out;
}

bool giveReplacementTheAttributesOf(int handle, const ExistingFile& file) {
    struct stat now {};
    if (::fstat(handle, &now) != 0) {
        return false;
    }
    if (now.st_gid != file.group && ::fchown(handle, static_cast<uid_t>(-1), file.group) != 0) {
        return false;
    }
    // After the group, which may clear the set-group-ID bit.
    return ::fchmod(handle, file.mode) == 0;
}

std::span<const int> rightsRefusalCodes() {
    static constexpr std::array<int, 2> kCodes{EPERM, EACCES};
    return kCodes;
}

InPlaceFile::InPlaceFile(const std::filesystem::path& path)
    : m_handle(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {
    if (m_handle < 0) {
        m_error = errno;
    }
}

InPlaceFile::~InPlaceFile() {
    if (isOpen()) {
        ::close(static_cast<int>(m_handle));
    }
}

bool InPlaceFile::isOpen() const {
    return m_handle >= 0;
}

bool InPlaceFile::fail() {
    m_error = errno;
    return false;
}

bool InPlaceFile::size(std::uint64_t& out) {
    struct stat info {};
    if (::fstat(static_cast<int>(m_handle), &info) != 0) {
        return fail();
    }
    out = static_cast<std::uint64_t>(info.st_size);
    return true;
}

bool InPlaceFile::readAt(std::uint64_t offset, std::span<char> out) {
    for (std::size_t done = 0; done < out.size();) {
        const ssize_t got = ::pread(static_cast<int>(m_handle), out.data() + done,
                                    out.size() - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            if (got == 0) {
                errno = EIO;  // the file became shorter while it was read
            }
            return fail();
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

// A short write (a file-size limit, a full disk) is followed by a call that fails with the
// system's reason.
bool InPlaceFile::writeAt(std::uint64_t offset, std::span<const char> bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t put = ::pwrite(static_cast<int>(m_handle), bytes.data() + done,
                                     bytes.size() - done, static_cast<off_t>(offset + done));
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            if (put == 0) {
                errno = EIO;
            }
            return fail();
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
}

bool InPlaceFile::setLength(std::uint64_t length) {
    return ::ftruncate(static_cast<int>(m_handle), static_cast<off_t>(length)) == 0 || fail();
}

bool InPlaceFile::flush() {
    return ::fsync(static_cast<int>(m_handle)) == 0 || fail();
}

}  // namespace quintrel
