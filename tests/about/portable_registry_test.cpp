// The stand-in registry of systems without one: the MSINFO path value names the first system
// information program installed in an absolute folder of the search path.
#include "platform/registry/portable_registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "about/sys_info.h"
#include "tests/about/about_fixture.h"

namespace quintrel::testing {
namespace {

const std::string kMsinfo = R"(SOFTWARE\Microsoft\Shared Tools\MSINFO)";
const std::string kLocation = R"(SOFTWARE\Microsoft\Shared Tools Location)";

TEST(PortableRegistryTest, AnswersWithTheFirstInstalledSystemInfoProgram) {
    QTemporaryDir early;
    QTemporaryDir late;
    const auto place = [](const QTemporaryDir& folder, const char* name, bool executable) {
        QFile file(folder.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.setPermissions(executable ? QFile::ReadOwner | QFile::ExeOwner : QFile::ReadOwner);
    };
    place(early, "hardinfo", false);  // not executable: passed over
    place(early, "gnome-system-monitor", true);
    place(late, "kinfocenter", true);
    registry::PortableRegistry portable(early.path().toStdString() + ":" +
                                        late.path().toStdString());

    std::string text;
    EXPECT_EQ(GetKeyValue(portable, registry::kHkeyLocalMachine,
                          R"(software\microsoft\shared tools\msinfo)", "Path", text),
              KeyValueStatus::Read);
    EXPECT_EQ(text, late.filePath("kinfocenter").toStdString());  // earlier in the list wins
    EXPECT_EQ(GetKeyValue(portable, registry::kHkeyLocalMachine, kLocation, "MSINFO", text),
              KeyValueStatus::NotRead);

    registry::PortableRegistry none(early.path().toStdString() + "::");
    early.remove();
    EXPECT_EQ(GetKeyValue(none, registry::kHkeyLocalMachine, kMsinfo, "PATH", text),
              KeyValueStatus::NotRead);
}

TEST(PortableRegistryTest, RelativeSearchPathEntriesAreNeverSearched) {
    // A working folder holding a program named like a system information tool, directly and in
    // a subfolder, such as a folder of downloaded files.
    QTemporaryDir working;
    QTemporaryDir installed;
    ASSERT_TRUE(QDir(working.path()).mkpath(QStringLiteral("bin")));
    for (const QString& path : {working.filePath(QStringLiteral("hardinfo")),
                                working.filePath(QStringLiteral("bin/hardinfo")),
                                installed.filePath(QStringLiteral("kinfocenter"))}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    }
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(working.path()));
    const std::string absolute = installed.filePath(QStringLiteral("kinfocenter")).toStdString();
    const std::string elsewhere = ":" + installed.path().toStdString();
    const struct {
        std::string path;
        std::string found;
    } cases[] = {
        {".", ""},
        {"bin", ""},
        {"./bin", ""},
        {"", ""},
        {"::", ""},
        {"." + elsewhere, absolute},  // the relative entry comes first but is passed over
        {"bin" + elsewhere, absolute},
        {working.path().toStdString(), working.filePath(QStringLiteral("hardinfo")).toStdString()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(registry::PortableRegistry(c.path).findSystemInfoProgram(), c.found) << c.path;
    }
    QDir::setCurrent(before);
}

}  // namespace
}  // namespace quintrel::testing
