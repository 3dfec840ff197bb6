// The help viewer on Windows: HTML Help opens the compiled help at its contents and at its index
// in one window, which the program closes when it is about to quit; a missing or unreadable help
// file, library or entry point is reported, and a help file marked as downloaded from the
// Internet is not opened but explained.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <string>

#include "platform/help/html_help_viewer.h"
#include "tests/about/about_fixture.h"

namespace quintrel::testing {
namespace {

const QString kHelpFile = QStringLiteral(QUINTREL_APP_DIR "/Quintrel.chm");

// Native windows need a window system: under Wine, an X display.
bool windowsCanBeMade() {
    const HWND probe =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (probe) {
        DestroyWindow(probe);
    }
    return probe != nullptr;
}

// The first window of that class inside parent, at any depth.
HWND findChild(HWND parent, const wchar_t* className) {
    struct Search {
        const wchar_t* className;
        HWND found = nullptr;
    } search{className};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t name[64] = {};
            GetClassNameW(child, name, 64);
            if (_wcsicmp(name, s->className) == 0) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

QString windowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return QString::fromWCharArray(text);
}

// The selected tab's text without its access-key marker.
QString selectedTab(HWND help) {
    const HWND tabs = findChild(help, WC_TABCONTROLW);
    if (!tabs) {
        return QStringLiteral("(no tabs)");
    }
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    const auto index = SendMessageW(tabs, TCM_GETCURSEL, 0, 0);
    SendMessageW(tabs, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    return QString::fromWCharArray(text).remove(QLatin1Char('&'));
}

// The visible help windows of this process (other tests may show theirs on the same display).
std::vector<HWND> ownHelpWindows() {
    std::vector<HWND> found;
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
                windowText(window) == "Quintrel Help") {
                reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Gives path the mark Windows gives a download: the stream Zone.Identifier, as Explorer and the
// browsers write it.
bool markAsDownloaded(const QString& path, int zone) {
    const std::wstring stream = QDir::toNativeSeparators(path).toStdWString() + L":Zone.Identifier";
    const HANDLE file = CreateFileW(stream.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const std::string text = "[ZoneTransfer]\r\nZoneId=" + std::to_string(zone) +
                             "\r\nHostUrl=https://example.org/Quintrel-1.0.2-win64.zip\r\n";
    DWORD written = 0;
    const bool ok = WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr) &&
                    written == text.size();
    CloseHandle(file);
    return ok;
}

int keywordsInProject() {
    QFile project(QStringLiteral(QUINTREL_HELP_SOURCE "/quintrel.qhp"));
    EXPECT_TRUE(project.open(QIODevice::ReadOnly));
    return static_cast<int>(project.readAll().count("<keyword "));
}

class HtmlHelpWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!windowsCanBeMade()) {
            GTEST_SKIP() << "no window system: under Wine, run with an X display (xvfb-run -a)";
        }
    }
    // The help window the command opened, or null.
    HWND open(unsigned command) {
        const help::HelpResult result = viewer.WinHelpA(nullptr, kHelpFile, command, {});
        EXPECT_TRUE(result.shown);
        EXPECT_FALSE(result.error) << result.error->toStdString();
        const auto help = reinterpret_cast<HWND>(viewer.helpWindow());
        return IsWindow(help) && IsWindowVisible(help) ? help : nullptr;
    }
    MessageBoxes boxes;
    help::HtmlHelpViewer viewer;  // closes its windows when the test ends
};

TEST_F(HtmlHelpWindowTest, ContentsOpenTheFilesWindowAtTheContentsTab) {
    const HWND help = open(help::kHelpContents);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(windowText(help), "Quintrel Help");
    EXPECT_EQ(selectedTab(help), "Contents");
    // A second request reuses the open window. (Wine's viewer then selects no tab at all, so
    // which one it shows is checked on new windows only.)
    EXPECT_EQ(open(help::kHelpPartialKey), help);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(HtmlHelpWindowTest, SearchOpensTheIndexTabWithEveryKeyword) {
    const HWND help = open(help::kHelpPartialKey);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(selectedTab(help), "Index");
    const HWND keywords = findChild(help, WC_LISTVIEWW);
    ASSERT_NE(keywords, nullptr);
    EXPECT_EQ(SendMessageW(keywords, LVM_GETITEMCOUNT, 0, 0), keywordsInProject());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(HtmlHelpWindowTest, TheProgramsViewerClosesItsWindowsWhenTheApplicationIsAboutToQuit) {
    ASSERT_TRUE(help::WinHelpA(nullptr, kHelpFile, help::kHelpContents, {}).shown);
    const std::vector<HWND> shown = ownHelpWindows();
    ASSERT_EQ(shown.size(), 1u);
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();  // quits at once, after aboutToQuit
    EXPECT_FALSE(IsWindow(shown[0]));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(HtmlHelpViewerTest, TheZoneIsTheZoneTransferSectionsZoneId) {
    const std::pair<QByteArray, std::optional<int>> cases[] = {
        {"[ZoneTransfer]\r\nZoneId=3\r\nHostUrl=https://example.org/q.zip\r\n", 3},
        {"\xEF\xBB\xBF [zonetransfer] \n zoneid = 4", 4},
        {"[Other]\r\nZoneId=3\r\n[ZoneTransfer]\r\nZoneId=0\r\n", 0},
        {"[Other]\r\nZoneId=3\r\n", std::nullopt},
        {"ZoneId=3\r\n", std::nullopt},
        {"[ZoneTransfer]\r\nZoneId=three\r\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [stream, zone] : cases) {
        EXPECT_EQ(help::zoneOfIdentifier(stream), zone) << stream.toStdString();
    }
}

TEST(HtmlHelpViewerTest, AHelpFileFromTheInternetIsExplainedNotOpened) {
    MessageBoxes boxes;
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Quintrel.chm"));
    ASSERT_TRUE(QFile::copy(kHelpFile, path));
    help::HtmlHelpViewer viewer;
    for (const int zone : {3, 4}) {  // the Internet, restricted sites
        ASSERT_TRUE(markAsDownloaded(path, zone));
        const help::HelpResult result = viewer.WinHelpA(nullptr, path, help::kHelpContents, {});
        EXPECT_FALSE(result.shown);
        EXPECT_EQ(result.error,
                  "Windows blocks the help file " + QDir::toNativeSeparators(path) +
                      " because it came from the Internet, so the help viewer would show none "
                      "of its pages. Open the file's Properties, tick Unblock and choose OK, or "
                      "install Quintrel with its installer.");
        EXPECT_EQ(viewer.helpWindow(), 0u);
    }
    EXPECT_TRUE(boxes.shown.empty());
    // From the local intranet or trusted sites it opens as any other.
    if (windowsCanBeMade()) {
        ASSERT_TRUE(markAsDownloaded(path, 1));
        EXPECT_TRUE(viewer.WinHelpA(nullptr, path, help::kHelpPartialKey, {}).shown);
        EXPECT_NE(viewer.helpWindow(), 0u);
    }
}

TEST(HtmlHelpViewerTest, AMissingOrUnreadableFileIsReportedByTheHelpLayer) {
    MessageBoxes boxes;
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Quintrel.chm"));
    help::HtmlHelpViewer viewer;
    for (const unsigned command : {help::kHelpContents, help::kHelpPartialKey}) {
        const help::HelpResult result = viewer.WinHelpA(nullptr, path, command, {});
        EXPECT_FALSE(result.shown);
        EXPECT_FALSE(result.error);
        boxes.expectOne("Help", "Cannot find the help file " + QDir::toNativeSeparators(path) + ".",
                        QMessageBox::Warning);
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a help file");
    file.close();
    const help::HelpResult result = viewer.WinHelpA(nullptr, path, help::kHelpContents, {});
    EXPECT_FALSE(result.shown);
    EXPECT_FALSE(result.error);
    boxes.expectOne("Help", "Cannot open the help file " + QDir::toNativeSeparators(path) + ".",
                    QMessageBox::Warning);
    EXPECT_EQ(viewer.helpWindow(), 0u);
}

TEST(HtmlHelpViewerTest, AMissingLibraryOrEntryPointIsAnErrorForTheCaller) {
    MessageBoxes boxes;
    help::HtmlHelpViewer noLibrary(QStringLiteral("no-such-viewer.ocx"));
    help::HelpResult result = noLibrary.WinHelpA(nullptr, kHelpFile, help::kHelpContents, {});
    EXPECT_FALSE(result.shown);
    EXPECT_EQ(result.error,
              "The help viewer HTML Help is not installed (no-such-viewer.ocx could "
              "not be loaded).");
    help::HtmlHelpViewer noEntryPoint(QStringLiteral("hhctrl.ocx"), "HtmlHelpX");
    result = noEntryPoint.WinHelpA(nullptr, kHelpFile, help::kHelpPartialKey, {});
    EXPECT_FALSE(result.shown);
    EXPECT_EQ(result.error,
              "The help viewer HTML Help could not be started: hhctrl.ocx has no HtmlHelpX.");
    EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace quintrel::testing
