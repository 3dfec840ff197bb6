// The registry calls answered by advapi32 (Windows only).
#pragma once

#include "platform/registry/registry.h"

namespace quintrel::registry {

class WindowsRegistry : public Registry {
  public:
    long RegOpenKeyExA(RootKey root, const std::string& subKey, std::uint32_t options,
                       std::uint32_t access, KeyHandle& result) override;
    long RegQueryValueExA(KeyHandle key, const std::string& valueName, std::uint32_t& type,
                          std::span<std::uint8_t> data, std::uint32_t& size) override;
    long RegCloseKey(KeyHandle key) override;
};

}  // namespace quintrel::registry
