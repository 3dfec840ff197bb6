// The two help commands: the path and command they hand the viewer, the messages, and an error the
// viewer reports.
#include <QDir>
#include <QWidget>

#include "about/help_commands.h"
#include "tests/about/about_fixture.h"

namespace quintrel::testing {
namespace {

// The help file the platform's viewer opens.
#ifdef Q_OS_WIN
const QString kHelpFileName = QStringLiteral("Quintrel.chm");
#else
const QString kHelpFileName = QStringLiteral("Quintrel.hlp");
#endif

struct HelpCall {
    QString path;
    unsigned command;
    QString keyword;
};

class HelpCommandsTest : public ::testing::Test {
  protected:
    HelpCommandsTest() { window.setWindowTitle(QStringLiteral("Quintrel")); }
    WinHelpCall recorder() {
        return [this](QWidget*, const QString& path, unsigned command, const QString& keyword) {
            calls.push_back({path, command, keyword});
            return help::HelpResult{.shown = true, .error = std::nullopt};
        };
    }
    QWidget window;
    std::vector<HelpCall> calls;
    MessageBoxes boxes;
};

TEST_F(HelpCommandsTest, BothCommandsPassTheSamePathAndAnEmptyKeyword) {
    showHelpContents(&window, "Quintrel.HLP", "/opt/q", "Quintrel", recorder());
    showHelpIndex(&window, "/opt/q", "Quintrel", recorder());
    ASSERT_EQ(calls.size(), 2u);
    const QString expected = QStringLiteral("/opt/q") + QDir::separator() + kHelpFileName;
    EXPECT_EQ(calls[0].path, expected);
    EXPECT_EQ(calls[1].path, expected);
    EXPECT_EQ(calls[0].command, 3u);
    EXPECT_EQ(calls[1].command, 0x105u);
    EXPECT_EQ(calls[1].keyword, "");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(HelpCommandsTest, AnEmptySettingStopsContentsOnly) {
    showHelpContents(&window, "", "/opt/q", "Quintrel", recorder());
    EXPECT_TRUE(calls.empty());
    boxes.expectOne("Quintrel",
                    "Unable to display Help Contents. There is no Help associated with this "
                    "project.",
                    QMessageBox::Information);
    showHelpIndex(&window, "/opt/q", "Quintrel", recorder());
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(HelpCommandsTest, AReportedErrorIsShownWithItsDescription) {
    const WinHelpCall failing = [](QWidget*, const QString&, unsigned, const QString&) {
        return help::HelpResult{.error = "The help viewer could not be started: /x/assistant"};
    };
    showHelpIndex(&window, "/opt/q", "Quintrel", failing);
    boxes.expectOne("Quintrel", "The help viewer could not be started: /x/assistant");
}

}  // namespace
}  // namespace quintrel::testing
