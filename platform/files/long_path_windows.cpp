#include <windows.h>

#include "platform/files/long_path.h"

namespace quintrel {

namespace {

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// "X:\..." (or "X:/..."): absolute on a drive. "X:name" is relative to the drive's current folder.
bool isOnDrive(const std::wstring& path) {
    return path.size() >= 3 &&
           ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
           path[1] == L':' && isSeparator(path[2]);
}

// "\\?\..." and "\\.\...", with either separator: already past Windows' path rules.
bool isDevicePath(const std::wstring& path) {
    return path.size() >= 4 && isSeparator(path[0]) && isSeparator(path[1]) &&
           (path[2] == L'?' || path[2] == L'.') && isSeparator(path[3]);
}

// "\\server\share\...".
bool isNetworkPath(const std::wstring& path) {
    return path.size() >= 3 && isSeparator(path[0]) && isSeparator(path[1]) &&
           !isSeparator(path[2]) && !isDevicePath(path);
}

}  // namespace

std::wstring extendedLengthPath(const std::wstring& path) {
    if (path.size() < MAX_PATH || !(isOnDrive(path) || isNetworkPath(path))) {
        return path;
    }
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return path;
    }
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) {
        return path;
    }
    full.resize(length);
    if (isDevicePath(full)) {
        return full;  // a device name such as NUL at the end of the path
    }
    if (isNetworkPath(full)) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return L"\\\\?\\" + full;
}

}  // namespace quintrel
