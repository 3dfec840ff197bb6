// System Info on Windows: the MSINFO values written into the machine's registry with the system's
// own reg.exe, read back through advapi32, and the program they name started. The test rewrites
// values under HKEY_LOCAL_MACHINE, so it runs only in Wine's test prefix.
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "about/sys_info.h"
#include "platform/registry/registry.h"
#include "tests/about/about_fixture.h"

namespace quintrel::testing {
namespace {

const QString kMsinfo = QStringLiteral(R"(HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO)");
const QString kLocation = QStringLiteral(R"(HKLM\SOFTWARE\Microsoft\Shared Tools Location)");

bool underWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

int reg(const QStringList& arguments) {
    return QProcess::execute(QStringLiteral("reg"), arguments);
}

class WindowsSysInfoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!underWine()) {
            GTEST_SKIP()
                << "rewrites the machine's MSINFO registry values: Wine's test prefix only";
        }
        removeValues();
        m_mark = m_dir.filePath(QStringLiteral("started.txt"));
        qputenv("QUINTREL_SYSINFO_MARK", QDir::toNativeSeparators(m_mark).toLocal8Bit());
    }
    void TearDown() override {
        if (underWine()) {
            removeValues();
        }
    }
    static void removeValues() {
        for (const QString& key : {kMsinfo, kLocation}) {
            reg({QStringLiteral("delete"), key, QStringLiteral("/f")});
        }
    }
    // The stand-in program copied into the test's folder under name.
    QString placeProgram(const QString& name) {
        const QString path = QDir::toNativeSeparators(m_dir.filePath(name));
        EXPECT_TRUE(QFile::copy(QStringLiteral(QUINTREL_FAKE_MSINFO), path));
        return path;
    }
    void run() {
        const auto registry = registry::hostRegistry();
        DetachedProgramStarter starter;
        StartSysInfo(*registry, starter, nullptr, QStringLiteral("Quintrel"));
    }
    // The program started was the one at path.
    void expectStarted(const QString& path) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(m_mark); }, 20000));
        QFile mark(m_mark);
        ASSERT_TRUE(QTest::qWaitFor([&] { return mark.size() > 0; }, 5000));
        ASSERT_TRUE(mark.open(QIODevice::ReadOnly));
        EXPECT_EQ(QDir::fromNativeSeparators(QString::fromLocal8Bit(mark.readAll())),
                  QDir::fromNativeSeparators(path));
        EXPECT_TRUE(boxes.shown.empty());
    }

    QTemporaryDir m_dir;
    QString m_mark;
    MessageBoxes boxes;
};

TEST_F(WindowsSysInfoTest, ThePathValueNamesTheProgramStarted) {
    const QString program = placeProgram(QStringLiteral("system info.exe"));
    ASSERT_EQ(reg({"add", kMsinfo, "/v", "PATH", "/d", program, "/f"}), 0);
    run();
    expectStarted(program);
}

TEST_F(WindowsSysInfoTest, TheSharedToolsFolderIsSearchedForMsinfo32) {
    const QString program = placeProgram(QStringLiteral("MSINFO32.EXE"));
    const QString folder = QDir::toNativeSeparators(m_dir.path());
    ASSERT_EQ(reg({"add", kLocation, "/v", "MSINFO", "/d", folder, "/f"}), 0);
    run();
    expectStarted(program);
}

TEST_F(WindowsSysInfoTest, WithoutTheValuesTheMessageAppears) {
    run();
    boxes.expectOne("Quintrel", "System Information Is Unavailable At This Time");
    EXPECT_FALSE(QFile::exists(m_mark));
}

}  // namespace
}  // namespace quintrel::testing
