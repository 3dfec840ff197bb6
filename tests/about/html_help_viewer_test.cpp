// The help viewer on Windows: HTML Help opens the compiled help at its contents and at its index
// in one window; a missing or unreadable help file, library or entry point is reported.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/help/html_help_viewer.h"
#include "tests/about/about_fixture.h"

namespace quintrel::testing {
namespace {

const QString kHelpFile = QStringLiteral(QUINTREL_APP_DIR "/Quintrel.hlp");

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

TEST(HtmlHelpViewerTest, AMissingOrUnreadableFileIsReportedByTheHelpLayer) {
    MessageBoxes boxes;
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Quintrel.hlp"));
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
