// Start-up and shutdown: the application properties, Main, the start with a missing picture, and
// the window placement written when the main window closes.
#include "ui/module1.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QScreen>

#include "ui/app_properties.h"
#include "ui/picture_box.h"
#include "ui/window_placement.h"
#include "window_fixture.h"

namespace quintrel::testing {
namespace {

TEST(AppPropertiesTest, FixedWhenBuilt) {
    EXPECT_EQ(app::Title(), "Quintrel");
#ifdef Q_OS_WIN
    EXPECT_EQ(app::HelpFile(), "Quintrel.chm");  // the file HTML Help opens
#else
    EXPECT_EQ(app::HelpFile(), "Quintrel.HLP");
#endif
    EXPECT_EQ(app::versionText(), "1.0.2");
    EXPECT_EQ(app::Folder(), QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
    EXPECT_FALSE(app::Folder().endsWith(QDir::separator()));
}

TEST(ShortestTextTest, SinglePrecisionShortestDecimal) {
    const std::pair<float, const char*> cases[] = {
        {2430.0f, "2430"}, {-120.0f, "-120"}, {1234.5f, "1234.5"},
        {0.1f, "0.1"},     {0.0f, "0"},       {13005.0f, "13005"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(shortestText(value), text);
    }
    // 2/3 of a twip survives as the float's own shortest text, not as a double's digits.
    EXPECT_EQ(shortestText(static_cast<float>(2.0 / 3.0)), "0.6666667");
}

TEST(Module1Test, MainCreatesAndShowsTheWindowInItsStartState) {
    TemporarySettings settings;
    Module1::Main();
    frmMain* window = Module1::MainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->objectName(), "frmMain");
    EXPECT_EQ(window->gridWindow().selectedIndex(UnitList::Combo1), 3);
    EXPECT_EQ(QDir::fromNativeSeparators(window->picturePath()),
              QDir(app::Folder()).filePath(QStringLiteral("transforms1.wmf")));
    Module1::End();
    EXPECT_EQ(Module1::MainWindow(), nullptr);
}

// Without its pictures the program still opens, says which picture is missing, and calculates.
TEST(Module1Test, MissingPictureIsReportedAndTheWindowStillWorks) {
    TemporarySettings settings;
    QTemporaryDir empty;
    MessageCatcher messages;
    frmMain window(empty.path());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, "Quintrel");
    EXPECT_TRUE(messages.messages[0].text.contains(
        QDir::toNativeSeparators(QDir(empty.path()).filePath("transforms1.wmf"))))
        << messages.messages[0].text.toStdString();
    EXPECT_FALSE(window.findChild<PictureBox*>("Picture1")->hasPicture());

    window.gridWindow().setText(TextField::Text1, "1");
    window.gridWindow().setText(TextField::Text2, "8");
    QTest::mouseClick(window.findChild<QWidget*>("Command1"), Qt::LeftButton);
    EXPECT_EQ(window.gridWindow().text(TextField::Text3), "0.125");

    // Three choices in a row with no pictures at all: one message, about the last one.
    window.gridWindow().setOptionSelected(1, true);
    window.gridWindow().setCheckState(CheckBox::Check1, kChecked);
    window.gridWindow().setCheckState(CheckBox::Check2, kChecked);
    QTRY_COMPARE(messages.messages.size(), 2u);
    QTest::qWait(20);
    EXPECT_EQ(messages.messages.size(), 2u);
    EXPECT_TRUE(messages.messages[1].text.endsWith("transforms8.wmf"));
}

// The window placed in pixels, and what the store must then hold in twips: at 96 dpi, 15 twips
// to the pixel. The offscreen platform draws a frame of 2 pixels around the window.
class PlacementTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (window->logicalDpiX() != 96 || window->logicalDpiY() != 96) {
            GTEST_SKIP() << "the figures below are for 96 dpi";
        }
    }
    QStringList storedValues() const {
        return {settings.value("MainLeft"), settings.value("MainTop"), settings.value("MainWidth"),
                settings.value("MainHeight")};
    }
};

TEST_F(PlacementTest, NormalWindowStoresItsBoundsInTwips) {
    window->move(150, 90);
    window->resize(700, 500);
    QTest::qWait(1);
    ASSERT_EQ(window->frameGeometry(), QRect(150, 90, 704, 504));
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(storedValues(), QStringList({"2250", "1350", "10560", "7560"}));
}

TEST_F(PlacementTest, MaximizedWindowStoresItsMaximizedBounds) {
    window->showMaximized();
    QTRY_VERIFY(window->isMaximized());
    const QRect screen = window->screen()->availableGeometry();
    QTRY_COMPARE(window->frameGeometry(), screen);
    window->close();
    EXPECT_EQ(
        storedValues(),
        QStringList({QString::number(screen.left() * 15), QString::number(screen.top() * 15),
                     QString::number(screen.width() * 15), QString::number(screen.height() * 15)}));
}

TEST_F(PlacementTest, MinimizedWindowStoresNothing) {
    settings.put("MainLeft", "earlier");
    window->showMinimized();
    QTRY_VERIFY(window->isMinimized());
    window->close();
    EXPECT_EQ(settings.value("MainLeft"), "earlier");
    EXPECT_EQ(settings.value("MainWidth"), "");
}

TEST_F(PlacementTest, ExitAndTheCloseBoxTakeTheSamePath) {
    window->move(40, 30);
    window->resize(600, 400);
    QTest::qWait(1);
    window->findChild<QAction*>("mnuFileExit")->trigger();
    EXPECT_FALSE(window->isVisible());
    const QStringList viaExit = storedValues();
    EXPECT_EQ(viaExit, QStringList({"600", "450", "9060", "6060"}));

    settings.clear();
    open(pictureFolder());
    window->move(40, 30);
    window->resize(600, 400);
    QTest::qWait(1);
    window->close();
    EXPECT_EQ(storedValues(), viaExit);
}

TEST_F(PlacementTest, ClosingUnloadsTheOtherWindows) {
    QDialog other;
    other.show();
    ASSERT_TRUE(other.isVisible());
    window->close();
    EXPECT_FALSE(other.isVisible());
}

TEST_F(PlacementTest, AStoreThatCannotBeWrittenNeverBlocksTheExit) {
    ASSERT_TRUE(settings.block());
    EXPECT_FALSE(savePlacement({1, 2, 3, 4}));

    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(messages.messages.empty());
}

}  // namespace
}  // namespace quintrel::testing
