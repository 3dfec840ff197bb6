// System Info: the system information program looked up in the registry and started, or the
// message that it is unavailable.
#pragma once

#include <QString>
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

// The registry value's buffer, in bytes.
inline constexpr std::size_t kKeyValueBufferBytes = 1024;

// What GetKeyValue came to.
enum class KeyValueStatus {
    Read,         // a value was read into KeyVal; one of a type other than string or DWORD leaves
                  // KeyVal as it was
    NotRead,      // the key or value is missing, longer than the buffer, or may not be read;
                  // KeyVal is emptied
    FillsBuffer,  // the value fills the whole buffer with no NUL, so where it ends is unknown;
                  // KeyVal is left as it was
};

// Reads value SubKeyRef of key KeyName below KeyRoot as text into KeyVal: a string as it stands,
// a DWORD as "&h" and uppercase hexadecimal digits. The key is opened for reading only and is
// closed again whatever the outcome.
[[nodiscard]] KeyValueStatus GetKeyValue(registry::Registry& registry, registry::RootKey KeyRoot,
                                         const std::string& KeyName, const std::string& SubKeyRef,
                                         std::string& KeyVal);

// A normal file (not hidden) exists at path.
bool isNormalFile(const QString& path);

// Finds the system information program ("PATH" of the MSINFO key, else MSINFO32.EXE in the
// folder named by "Shared Tools Location") and starts it. A first value that fills its buffer ends
// the search there. Any failure on the way ends in one message box, "System Information Is
// Unavailable At This Time", titled with title.
void StartSysInfo(registry::Registry& registry, ProgramStarter& starter, QWidget* parent,
                  const QString& title);

}  // namespace quintrel
