// The three advapi32 registry calls (ANSI forms) behind an interface, with the constants they take.
// Plain C++, so the Windows backend compiles without Qt and tests can fill in keys and values.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace quintrel::registry {

using RootKey = std::uint32_t;  // a predefined key such as HKEY_LOCAL_MACHINE, as its 32-bit value
using KeyHandle = std::uintptr_t;

inline constexpr RootKey kHkeyLocalMachine = 0x80000002;

// Result codes of the calls; anything other than kErrorSuccess is a failure.
inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;  // no such key or value
inline constexpr long kErrorAccessDenied = 5;  // the key exists but may not be opened so
inline constexpr long kErrorMoreData = 234;    // the value does not fit the caller's buffer

// Access rights: reading is all a look-up needs and all an ordinary user is granted.
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;

// Value types.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;

class Registry {
  public:
    virtual ~Registry() = default;
    // Opens subKey below root; on success stores the open key in result.
    virtual long RegOpenKeyExA(RootKey root, const std::string& subKey, std::uint32_t options,
                               std::uint32_t access, KeyHandle& result) = 0;
    // Copies the value's bytes into data and stores its type and byte count. A value larger
    // than data copies nothing and answers kErrorMoreData.
    virtual long RegQueryValueExA(KeyHandle key, const std::string& valueName, std::uint32_t& type,
                                  std::span<std::uint8_t> data, std::uint32_t& size) = 0;
    virtual long RegCloseKey(KeyHandle key) = 0;
};

// The host's registry: advapi32 on Windows, the portable stand-in elsewhere.
std::unique_ptr<Registry> hostRegistry();

}  // namespace quintrel::registry
