#include "about/sys_info.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <array>
#include <cstdint>
#include <exception>
#include <optional>

#include "widgets/message_box.h"

namespace quintrel {

namespace {

constexpr auto kMsinfoKey = R"(SOFTWARE\Microsoft\Shared Tools\MSINFO)";
constexpr auto kMsinfoPathValue = "PATH";
constexpr auto kSharedToolsKey = R"(SOFTWARE\Microsoft\Shared Tools Location)";
constexpr auto kSharedToolsValue = "MSINFO";
constexpr auto kMsinfoProgram = "MSINFO32.EXE";

// "&h" and the value's hexadecimal digits, most significant first, without leading zeros.
std::string dwordText(const std::array<std::uint8_t, kKeyValueBufferBytes>& buffer,
                      std::uint32_t size) {
    std::uint32_t value = 0;
    for (std::uint32_t i = std::min<std::uint32_t>(size, 4); i > 0; --i) {
        value = (value << 8) | buffer[i - 1];  // stored least significant byte first
    }
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string digits;
    do {
        digits.insert(digits.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return "&h" + digits;
}

std::optional<QString> lookUp(registry::Registry& registry, const char* key, const char* value) {
    std::string text;
    if (!GetKeyValue(registry, registry::kHkeyLocalMachine, key, value, text)) {
        return std::nullopt;
    }
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

// The program to start, or nullopt when the registry names none. Throws on a faulty value.
std::optional<QString> systemInfoProgram(registry::Registry& registry) {
    // A recorded path is taken as it stands; starting it shows whether it exists.
    if (auto path = lookUp(registry, kMsinfoKey, kMsinfoPathValue)) {
        return path;
    }
    if (auto folder = lookUp(registry, kSharedToolsKey, kSharedToolsValue)) {
        const QString path = *folder + QDir::separator() + QLatin1String(kMsinfoProgram);
        if (isNormalFile(path)) {
            return path;
        }
    }
    return std::nullopt;
}

}  // namespace

bool DetachedProgramStarter::start(const QString& path) {
    return QProcess::startDetached(path, {});
}

bool GetKeyValue(registry::Registry& registry, registry::RootKey KeyRoot,
                 const std::string& KeyName, const std::string& SubKeyRef, std::string& KeyVal) {
    registry::KeyHandle key = 0;
    if (registry.RegOpenKeyExA(KeyRoot, KeyName, 0, registry::kKeyRead, key) !=
        registry::kErrorSuccess) {
        KeyVal.clear();
        return false;
    }
    std::array<std::uint8_t, kKeyValueBufferBytes> buffer{};
    std::uint32_t size = kKeyValueBufferBytes;
    std::uint32_t type = 0;
    if (registry.RegQueryValueExA(key, SubKeyRef, type, buffer, size) != registry::kErrorSuccess) {
        KeyVal.clear();
        registry.RegCloseKey(key);
        return false;
    }
    const auto end = std::find(buffer.begin(), buffer.end(), std::uint8_t{0});
    if (end == buffer.end()) {
        registry.RegCloseKey(key);  // closed also on this path, unlike a plain early exit
        throw RegistryValueError("The registry value " + SubKeyRef + " fills its buffer.");
    }
    if (type == registry::kRegSz) {
        KeyVal.assign(buffer.begin(), end);
    } else if (type == registry::kRegDword) {
        // From the value's own four bytes: cutting at the first NUL would lose every DWORD
        // whose lowest byte is zero.
        KeyVal = dwordText(buffer, size);
    }
    registry.RegCloseKey(key);
    return true;
}

bool isNormalFile(const QString& path) {
    const QFileInfo file(path);
    return file.isFile() && !file.isHidden();
}

void StartSysInfo(registry::Registry& registry, ProgramStarter& starter, QWidget* parent,
                  const QString& title) {
    bool started = false;
    try {
        if (const auto program = systemInfoProgram(registry)) {
            started = starter.start(*program);
        }
    } catch (const std::exception&) {
        started = false;  // a faulty value ends in the same message as a missing one
    }
    if (!started) {
        showMessage(parent, title,
                    QStringLiteral("System Information Is Unavailable At This Time"));
    }
}

}  // namespace quintrel
