// The help viewer on Linux: the viewer's arguments and commands, the messages, a second request
// while the viewer runs, and the real pipe to a started program.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/help/assistant_launcher.h"
#include "tests/about/about_fixture.h"

namespace quintrel::testing {
namespace {

// A launcher that records what it starts; its viewers accept commands until told they are gone.
class FakeLauncher : public help::ViewerLauncher {
  public:
    struct Viewer : help::ViewerProcess {
        explicit Viewer(FakeLauncher& owner) : launcher(owner) {}
        bool send(const QByteArray& line) override {
            if (launcher.gone) {
                return false;
            }
            launcher.sent.push_back(line);
            return true;
        }
        FakeLauncher& launcher;
    };
    std::unique_ptr<help::ViewerProcess> start(const QString& program,
                                               const QStringList& arguments) override {
        started.push_back(program + ' ' + arguments.join(' '));
        return starts ? std::make_unique<Viewer>(*this) : nullptr;
    }
    std::vector<QString> started;
    std::vector<QByteArray> sent;
    bool starts = true;
    bool gone = false;
};

class HelpViewerTest : public ::testing::Test {
  protected:
    HelpViewerTest() {
        for (const char* name : {"Quintrel.hlp", "Quintrel.qhc"}) {
            QFile file(folder.filePath(QLatin1String(name)));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        }
    }
    help::HelpResult request(unsigned command, const QString& keyword = {}) {
        return viewer.WinHelpA(nullptr, helpFile(), command, keyword);
    }
    // Shown, and without an error.
    bool call(unsigned command) {
        const help::HelpResult result = request(command);
        EXPECT_FALSE(result.error) << result.error->toStdString();
        return result.shown;
    }
    QString helpFile() const { return folder.filePath("Quintrel.hlp"); }
    QString collection() const { return folder.filePath("Quintrel.qhc"); }

    QTemporaryDir folder;
    FakeLauncher launcher;
    QString viewerPath = QStringLiteral("/usr/bin/assistant");
    help::HelpViewer viewer{launcher, [this] { return viewerPath; }};
    MessageBoxes boxes;
};

TEST_F(HelpViewerTest, EachCommandOpensItsPaneAndASecondOneReusesTheViewer) {
    EXPECT_TRUE(call(help::kHelpContents));
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0], "/usr/bin/assistant -collectionFile " + collection() +
                                       " -enableRemoteControl -show contents -activate contents");

    EXPECT_TRUE(call(help::kHelpPartialKey));  // the viewer is still open: told, not restarted
    EXPECT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.sent, std::vector<QByteArray>{"show index\n"});

    launcher.gone = true;  // the user closed it
    EXPECT_TRUE(call(help::kHelpPartialKey));
    ASSERT_EQ(launcher.started.size(), 2u);
    EXPECT_EQ(launcher.started[1], "/usr/bin/assistant -collectionFile " + collection() +
                                       " -enableRemoteControl -show index -activate index");
    EXPECT_FALSE(call(0x0001));  // a command the viewer does not know
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(HelpViewerTest, AMissingFileIsReportedByTheHelpLayerItself) {
    for (const QString& missing : {collection(), helpFile()}) {
        QFile::remove(missing);
        EXPECT_FALSE(call(help::kHelpContents));
        boxes.expectOne("Help",
                        "Cannot find the help file " + QDir::toNativeSeparators(missing) + ".",
                        QMessageBox::Warning);
    }
    EXPECT_TRUE(launcher.started.empty());
}

TEST_F(HelpViewerTest, AKeywordGivenAsTextFollowsTheStartAsOneCommand) {
    EXPECT_TRUE(request(help::kHelpPartialKey, QStringLiteral("Δf;\nx")).shown);
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.sent, std::vector<QByteArray>{"show index;activateKeyword Δfx\n"});
}

TEST_F(HelpViewerTest, AViewerThatIsMissingOrWillNotStartReportsAnError) {
    viewerPath.clear();
    help::HelpResult result = request(help::kHelpContents);
    EXPECT_FALSE(result.shown);
    EXPECT_EQ(result.error,
              "The help viewer Qt Assistant is not installed (Debian package assistant-qt6).");
    viewerPath = QStringLiteral("/usr/bin/assistant");
    launcher.starts = false;
    result = request(help::kHelpContents);
    EXPECT_FALSE(result.shown);
    EXPECT_EQ(result.error, "The help viewer could not be started: /usr/bin/assistant");
}

TEST(AssistantLauncherTest, CommandsReachTheStartedProgramUntilItEnds) {
    QTemporaryDir folder;
    const QString received = folder.filePath("received");
    help::AssistantLauncher launcher;
    // Stands in for the viewer: reads one command line from its input, keeps it, and ends.
    auto viewer = launcher.start(QStringLiteral("/bin/sh"),
                                 {"-c", "read line; printf '%s' \"$line\" > '" + received + "'"});
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->send("show index\n"));
    QFile file(received);
    EXPECT_TRUE(QTest::qWaitFor([&] { return file.exists() && file.size() == 10; }, 5000));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "show index");
    // Once the program has ended the pipe has no reader: the next command reports it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !viewer->send("show contents\n"); }, 5000));
    EXPECT_EQ(launcher.start(folder.filePath("no-such-program"), {}), nullptr);
}

}  // namespace
}  // namespace quintrel::testing
