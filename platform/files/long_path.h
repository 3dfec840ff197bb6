// The form of a path that the Windows file functions open whatever its length.
#pragma once

#include <string>

namespace quintrel {

// An absolute path of MAX_PATH (260) characters or more in its extended-length form, which
// CreateFileW and the like take up to 32,767 characters long: "\\?\" and the full path for a path
// on a drive, "\\?\UNC\server\share\..." for a network path. Windows passes that form on as it
// is, no longer turning '/' into '\' or resolving "." and "..", so the full path is worked out
// first, as Windows itself would. Shorter paths (which open as they always did, device names and
// all), relative paths, and paths already in the extended or device form ("\\?\", "\\.\") are
// returned unchanged.
std::wstring extendedLengthPath(const std::wstring& path);

}  // namespace quintrel
