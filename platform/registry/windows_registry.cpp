#include "platform/registry/windows_registry.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace quintrel::registry {

namespace {

// The predefined keys are 32-bit values that Windows sign-extends into a handle.
HKEY toHkey(RootKey root) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

}  // namespace

long WindowsRegistry::RegOpenKeyExA(RootKey root, const std::string& subKey, std::uint32_t options,
                                    std::uint32_t access, KeyHandle& result) {
    HKEY opened = nullptr;
    const LONG status = ::RegOpenKeyExA(toHkey(root), subKey.c_str(), options, access, &opened);
    result = reinterpret_cast<KeyHandle>(opened);
    return status;
}

long WindowsRegistry::RegQueryValueExA(KeyHandle key, const std::string& valueName,
                                       std::uint32_t& type, std::span<std::uint8_t> data,
                                       std::uint32_t& size) {
    DWORD valueType = 0;
    DWORD byteCount = static_cast<DWORD>(data.size());
    const LONG status = ::RegQueryValueExA(reinterpret_cast<HKEY>(key), valueName.c_str(), nullptr,
                                           &valueType, data.data(), &byteCount);
    type = valueType;
    size = byteCount;
    return status;
}

long WindowsRegistry::RegCloseKey(KeyHandle key) {
    return ::RegCloseKey(reinterpret_cast<HKEY>(key));
}

std::unique_ptr<Registry> hostRegistry() {
    return std::make_unique<WindowsRegistry>();
}

}  // namespace quintrel::registry
