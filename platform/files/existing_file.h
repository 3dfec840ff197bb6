// Saving over a file that is already there: whether a replacement made beside it could keep the
// file as it was, and the file opened for writing in place when it could not.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

namespace quintrel {

// What a save finds at its path.
struct ExistingFile {
    bool exists = false;  // something is there (a file, a folder, a link)
    // A regular file with one link, not a symbolic link, owned by this user, whose group a new
    // file of this user's may be given: a replacement renamed over it keeps its owner, group and
    // links. Anything else must be written in place.
    bool replaceable = false;
    std::uint32_t group = 0;  // POSIX: the file's group and mode, for the replacement
    std::uint32_t mode = 0;
};

ExistingFile inspectExistingFile(const std::filesystem::path& path);

// Gives the replacement, open as handle (QFileDevice::handle()), the group and mode of file.
// False when the system refuses; the replacement must then be abandoned. Nothing to do on Windows,
// where the replacement's owner is the saver, as the file's is.
bool giveReplacementTheAttributesOf(int handle, const ExistingFile& file);

// The system's codes for a change refused for lack of rights: EPERM and EACCES, or
// ERROR_ACCESS_DENIED. A rename over a file refused so may still leave the file writable in place.
std::span<const int> rightsRefusalCodes();

// An existing file opened for reading and writing in place; closed when destroyed. Each call
// returns false on failure and leaves the system's code in error().
class InPlaceFile {
  public:
    explicit InPlaceFile(const std::filesystem::path& path);
    ~InPlaceFile();
    InPlaceFile(const InPlaceFile&) = delete;
    InPlaceFile& operator=(const InPlaceFile&) = delete;

    bool isOpen() const;
    int error() const { return m_error; }  // errno, or a Windows error code

    bool size(std::uint64_t& out);
    bool readAt(std::uint64_t offset, std::span<char> out);           // all of out, or false
    bool writeAt(std::uint64_t offset, std::span<const char> bytes);  // all of bytes, or false
    bool setLength(std::uint64_t length);
    // Waits until what was written is on the disk (fsync, FlushFileBuffers).
    bool flush();

  private:
    bool fail();
    // A file descriptor, or a Windows HANDLE.
    std::intptr_t m_handle;
    int m_error = 0;
};

}  // namespace quintrel
