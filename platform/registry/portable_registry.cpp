#include "platform/registry/portable_registry.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace quintrel::registry {

namespace {

// The one key this registry has, and the handle it is opened as.
constexpr std::string_view kMsinfoKey = R"(SOFTWARE\Microsoft\Shared Tools\MSINFO)";
constexpr std::string_view kPathValue = "PATH";
constexpr KeyHandle kMsinfoHandle = 1;

constexpr char kPathListSeparator = ':';

// Registry key and value names compare without regard to letter case.
bool sameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

bool isExecutableFile(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    using std::filesystem::perms;
    return !error && std::filesystem::is_regular_file(status) &&
           (status.permissions() & (perms::owner_exec | perms::group_exec | perms::others_exec)) !=
               perms::none;
}

}  // namespace

PortableRegistry::PortableRegistry(std::string searchPath) : m_searchPath(std::move(searchPath)) {}

std::string PortableRegistry::findSystemInfoProgram() const {
    for (std::string_view program : kSystemInfoPrograms) {
        std::string_view rest = m_searchPath;
        while (!rest.empty()) {
            const std::size_t end = std::min(rest.find(kPathListSeparator), rest.size());
            const std::string_view folder = rest.substr(0, end);
            rest.remove_prefix(std::min(end + 1, rest.size()));
            // An empty or relative entry ("", ".", "bin") names the working folder or one below
            // it, which whoever hands over a file or folder may fill: never searched here.
            const std::filesystem::path base(folder);
            if (!base.is_absolute()) {
                continue;
            }
            const auto candidate = base / program;
            if (isExecutableFile(candidate)) {
                return candidate.string();
            }
        }
    }
    return {};
}

long PortableRegistry::RegOpenKeyExA(RootKey root, const std::string& subKey, std::uint32_t,
                                     std::uint32_t, KeyHandle& result) {
    result = 0;
    if (root != kHkeyLocalMachine || !sameName(subKey, kMsinfoKey)) {
        return kErrorFileNotFound;
    }
    result = kMsinfoHandle;
    return kErrorSuccess;
}

long PortableRegistry::RegQueryValueExA(KeyHandle key, const std::string& valueName,
                                        std::uint32_t& type, std::span<std::uint8_t> data,
                                        std::uint32_t& size) {
    if (key != kMsinfoHandle || !sameName(valueName, kPathValue)) {
        return kErrorFileNotFound;
    }
    const std::string program = findSystemInfoProgram();
    if (program.empty()) {
        return kErrorFileNotFound;
    }
    type = kRegSz;
    size = static_cast<std::uint32_t>(program.size() + 1);  // a string value keeps its NUL
    if (size > data.size()) {
        return kErrorMoreData;
    }
    std::memcpy(data.data(), program.c_str(), size);
    return kErrorSuccess;
}

long PortableRegistry::RegCloseKey(KeyHandle key) {
    return key == kMsinfoHandle ? kErrorSuccess : kErrorFileNotFound;
}

std::unique_ptr<Registry> hostRegistry() {
    const char* path = std::getenv("PATH");
    return std::make_unique<PortableRegistry>(path ? path : "");
}

}  // namespace quintrel::registry
