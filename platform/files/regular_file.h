// Reads a file only when it is a regular file, without waiting on one that is not: a picture
// path swapped for a named pipe or a device must not block the thread that loads pictures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace quintrel {

struct FileBytes {
    std::vector<std::uint8_t> bytes;
    int systemError = 0;      // why opening or reading failed: errno, or a Windows error code
    bool notRegular = false;  // it opened, but is a pipe, a device or a folder: refused
    bool ok() const { return systemError == 0 && !notRegular; }
};

// Opens `path` without waiting (a pipe with no writer would wait), checks that what it opened
// is a regular file, and reads at most `limit` bytes of it.
FileBytes readRegularFile(const std::filesystem::path& path, std::size_t limit);

}  // namespace quintrel
