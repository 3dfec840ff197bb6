// readRegularFile with CreateFileW: opening never waits for a pipe (a busy one fails at once),
// and GetFileType on the handle refuses pipes and character devices; a folder does not open
// without FILE_FLAG_BACKUP_SEMANTICS. A path of 260 characters or more is opened in its
// extended-length form, as Qt opens it when it saves a file there.
#include <windows.h>

#include <algorithm>

#include "platform/files/long_path.h"
#include "platform/files/regular_file.h"

namespace quintrel {

FileBytes readRegularFile(const std::filesystem::path& path, std::size_t limit) {
    FileBytes out;
    const HANDLE file = CreateFileW(extendedLengthPath(path.native()).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        out.systemError = static_cast<int>(GetLastError());
        return out;
    }
    out.notRegular = GetFileType(file) != FILE_TYPE_DISK;
    while (out.ok() && out.bytes.size() < limit) {
        const std::size_t had = out.bytes.size();
        out.bytes.resize(std::min(limit, had + 65536));
        DWORD got = 0;
        const BOOL read = ReadFile(file, out.bytes.data() + had,
                                   static_cast<DWORD>(out.bytes.size() - had), &got, nullptr);
        out.bytes.resize(had + got);
        if (!read) {
            out.systemError = static_cast<int>(GetLastError());
        } else if (got == 0) {
            break;
        }
    }
    CloseHandle(file);
    return out;
}

}  // namespace quintrel
