// The existing file with CreateFileW, GetFileInformationByHandle and the owner in its security
// descriptor; written in place with ReadFile/WriteFile at an offset, SetEndOfFile and
// FlushFileBuffers.
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// After windows.h.
#include <aclapi.h>

#include <algorithm>
#include <array>
#include <memory>

#include "platform/files/existing_file.h"
#include "platform/files/long_path.h"

namespace quintrel {

namespace {

HANDLE asHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

OVERLAPPED at(std::uint64_t offset) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return where;
}

// Whether the file open as handle belongs to the user this process runs as.
bool ownedByThisUser(HANDLE file) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                        nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    const std::unique_ptr<void, decltype(&LocalFree)> freeDescriptor(descriptor, &LocalFree);
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return false;
    }
    const std::unique_ptr<void, decltype(&CloseHandle)> closeToken(token, &CloseHandle);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::unique_ptr<std::byte[]> user(new std::byte[size]);
    if (size == 0 || !GetTokenInformation(token, TokenUser, user.get(), size, &size)) {
        return false;
    }
    return EqualSid(owner, reinterpret_cast<TOKEN_USER*>(user.get())->User.Sid) != FALSE;
}

}  // namespace

ExistingFile inspectExistingFile(const std::filesystem::path& path) {
    ExistingFile out;
    const std::wstring opened = extendedLengthPath(path.native());
    const DWORD attributes = GetFileAttributesW(opened.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return out;
    }
    out.exists = true;
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        return out;
    }
    const HANDLE file = CreateFileW(opened.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return out;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    out.replaceable = GetFileType(file) == FILE_TYPE_DISK &&
                      GetFileInformationByHandle(file, &info) && info.nNumberOfLinks == 1 &&
                      ownedByThisUser(file);
    CloseHandle(file);
    return out;
}

bool giveReplacementTheAttributesOf(int, const ExistingFile&) {
    return true;
}

std::span<const int> rightsRefusalCodes() {
    static constexpr std::array<int, 1> kCodes{ERROR_ACCESS_DENIED};
    return kCodes;
}

InPlaceFile::InPlaceFile(const std::filesystem::path& path)
    : m_handle(reinterpret_cast<std::intptr_t>(
          CreateFileW(extendedLengthPath(path.native()).c_str(), GENERIC_READ | GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                      FILE_ATTRIBUTE_NORMAL, nullptr))) {
    if (!isOpen()) {
        m_error = static_cast<int>(GetLastError());
    }
}

InPlaceFile::~InPlaceFile() {
    if (isOpen()) {
        CloseHandle(asHandle(m_handle));
    }
}

bool InPlaceFile::isOpen() const {
    return asHandle(m_handle) != INVALID_HANDLE_VALUE;
}

bool InPlaceFile::fail() {
    m_error = static_cast<int>(GetLastError());
    return false;
}

bool InPlaceFile::size(std::uint64_t& out) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(asHandle(m_handle), &size)) {
        return fail();
    }
    out = static_cast<std::uint64_t>(size.QuadPart);
    return true;
}

bool InPlaceFile::readAt(std::uint64_t offset, std::span<char> out) {
    for (std::size_t done = 0; done < out.size();) {
        OVERLAPPED where = at(offset + done);
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(out.size() - done, 1u << 30));
        if (!ReadFile(asHandle(m_handle), out.data() + done, want, &got, &where)) {
            return fail();
        }
        if (got == 0) {
            SetLastError(ERROR_HANDLE_EOF);  // the file became shorter while it was read
            return fail();
        }
        done += got;
    }
    return true;
}

bool InPlaceFile::writeAt(std::uint64_t offset, std::span<const char> bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        OVERLAPPED where = at(offset + done);
        DWORD put = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        if (!WriteFile(asHandle(m_handle), bytes.data() + done, want, &put, &where)) {
            return fail();
        }
        if (put == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return fail();
        }
        done += put;
    }
    return true;
}

bool InPlaceFile::setLength(std::uint64_t length) {
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(length);
    return (SetFilePointerEx(asHandle(m_handle), end, nullptr, FILE_BEGIN) &&
            SetEndOfFile(asHandle(m_handle))) ||
           fail();
}

bool InPlaceFile::flush() {
    return FlushFileBuffers(asHandle(m_handle)) || fail();
}

}  // namespace quintrel
