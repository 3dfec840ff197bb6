#include "about/sys_info.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <array>
#include <cstdint>
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

KeyValueStatus lookUp(registry::Registry& registry, const char* key, const char* value,
                      QString& text) {
    std::string bytes;
    const KeyValueStatus status =
        GetKeyValue(registry, registry::kHkeyLocalMachine, key, value, bytes);
    text = QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return status;
}

// The program to start, or nullopt when the registry names none or a value fills its buffer.
std::optional<QString> systemInfoProgram(registry::Registry& registry) {
    QString text;
    switch (lookUp(registry, kMsinfoKey, kMsinfoPathValue, text)) {
        case KeyValueStatus::Read:
            return text;  // taken as it stands; starting it shows whether it exists
        case KeyValueStatus::FillsBuffer:
            return std::nullopt;  // a faulty value ends the search as a missing program does
        case KeyValueStatus::NotRead:
            break;
    }
    if (lookUp(registry, kSharedToolsKey, kSharedToolsValue, text) == KeyValueStatus::Read) {
        const QString path = text + QDir::separator() + QLatin1String(kMsinfoProgram);
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

KeyValueStatus GetKeyValue(registry::Registry& registry, registry::RootKey KeyRoot,
                           const std::string& KeyName, const std::string& SubKeyRef,
                           std::string& KeyVal) {
    registry::KeyHandle key = 0;
    if (registry.RegOpenKeyExA(KeyRoot, KeyName, 0, registry::kKeyRead, key) !=
        registry::kErrorSuccess) {
        KeyVal.clear();
        return KeyValueStatus::NotRead;
    }
    std::array<std::uint8_t, kKeyValueBufferBytes> buffer{};
    std::uint32_t size = kKeyValueBufferBytes;
    std::uint32_t type = 0;
    if (registry.RegQueryValueExA(key, SubKeyRef, type, buffer, size) != registry::kErrorSuccess) {
        KeyVal.clear();
        registry.RegCloseKey(key);
        return KeyValueStatus::NotRead;
    }
    const auto end = std::find(buffer.begin(), buffer.end(), std::uint8_t{0});
    if (end == buffer.end()) {
        registry.RegCloseKey(key);
        return KeyValueStatus::FillsBuffer;
    }
    if (type == registry::kRegSz) {
        KeyVal.assign(buffer.begin(), end);
    } else if (type == registry::kRegDword) {
        // From the value's own four bytes: cutting at the first NUL would lose every DWORD
        // whose lowest byte is zero.
        KeyVal = dwordText(buffer, size);
    }
    registry.RegCloseKey(key);
    return KeyValueStatus::Read;
}

bool isNormalFile(const QString& path) {
    const QFileInfo file(path);
    return file.isFile() && !file.isHidden();
}

void StartSysInfo(registry::Registry& registry, ProgramStarter& starter, QWidget* parent,
                  const QString& title) {
    const std::optional<QString> program = systemInfoProgram(registry);
    if (!program || !starter.start(*program)) {
        showMessage(parent, title,
                    QStringLiteral("System Information Is Unavailable At This Time"));
    }
}

}  // namespace quintrel
