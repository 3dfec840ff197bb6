// A stand-in registry for hosts without one. It knows a single value, the path of the system
// information program, and answers it with the first such program found on a search path.
#pragma once

#include <array>
#include <string_view>

#include "platform/registry/registry.h"

namespace quintrel::registry {

// Looked for in this order: the first one installed is the host's system information program.
inline constexpr std::array<std::string_view, 4> kSystemInfoPrograms = {
    "hardinfo", "kinfocenter", "gnome-system-monitor", "mate-system-monitor"};

class PortableRegistry : public Registry {
  public:
    // searchPath: folders separated by ':' (';' on Windows), as in the PATH variable.
    explicit PortableRegistry(std::string searchPath);

    // The first of kSystemInfoPrograms that is an executable file in a folder of the search
    // path, as a full path; empty when there is none. Only absolute folders are searched.
    std::string findSystemInfoProgram() const;

    long RegOpenKeyExA(RootKey root, const std::string& subKey, std::uint32_t options,
                       std::uint32_t access, KeyHandle& result) override;
    long RegQueryValueExA(KeyHandle key, const std::string& valueName, std::uint32_t& type,
                          std::span<std::uint8_t> data, std::uint32_t& size) override;
    long RegCloseKey(KeyHandle key) override;

  private:
    std::string m_searchPath;
};

}  // namespace quintrel::registry
