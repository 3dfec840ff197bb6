// System Info: the system information program looked up in the registry and started, or the
// message that it is unavailable.
#pragma once

#include <QString>
#include <stdexcept>
#include <string>

#include "platform/registry/registry.h"

class QWidget;

namespace quintrel {

// Starts a program by its path without waiting for it.
class ProgramStarter {
  public:
    virtual ~ProgramStarter() = default;
    // False when the program cannot be started.
    virtual bool start(const QString& path) = 0;
};

// Detached, in a session of its own, so it outlives this program.
class DetachedProgramStarter : public ProgramStarter {
  public:
    bool start(const QString& path) override;
};

// Raised by GetKeyValue for a value that fills its whole buffer with no NUL in it.
class RegistryValueError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The registry value's buffer, in bytes.
inline constexpr std::size_t kKeyValueBufferBytes = 1024;

// Reads value SubKeyRef of key KeyName below KeyRoot as text into KeyVal: a string as it stands,
// a DWORD as "&h" and uppercase hexadecimal digits. True when a value was read; a value of
// another type leaves KeyVal as it was. A missing key or value, one longer than the buffer, or a
// key that may not be read empties KeyVal and gives false. The key is opened for reading only.
bool GetKeyValue(registry::Registry& registry, registry::RootKey KeyRoot,
                 const std::string& KeyName, const std::string& SubKeyRef, std::string& KeyVal);

// A normal file (not hidden) exists at path.
bool isNormalFile(const QString& path);

// Finds the system information program ("PATH" of the MSINFO key, else MSINFO32.EXE in the
// folder named by "Shared Tools Location") and starts it. Any failure on the way ends in one
// message box, "System Information Is Unavailable At This Time", titled with title.
void StartSysInfo(registry::Registry& registry, ProgramStarter& starter, QWidget* parent,
                  const QString& title);

}  // namespace quintrel
