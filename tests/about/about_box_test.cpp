// The About box as Help > About shows it, and the main window's unloading of open windows.
#include <QAction>
#include <QDir>
#include <QPushButton>
#include <map>

#include "about/frm_about.h"
#include "data/icons/quintrel32.xpm"
#include "data/icons/quintrel48.xpm"
#include "data/icons/quintrel64.xpm"
#include "tests/ui/window_fixture.h"
#include "widgets/twips.h"

namespace quintrel::testing {
namespace {

class AboutBoxTest : public WindowTest {
  protected:
    // Chooses Help > About and runs inside while the box is shown; inside must close it. Returns
    // once the modal box has closed.
    void withAboutBox(const std::function<void(frmAbout&)>& inside) {
        bool ran = false;
        QTimer open;
        open.setSingleShot(true);
        QObject::connect(&open, &QTimer::timeout, [&] {
            auto* box = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            // On the offscreen platform the main window may take the activation back.
            box->activateWindow();
            ASSERT_TRUE(QTest::qWaitFor([box] { return QApplication::activeWindow() == box; }));
            ran = true;
            inside(*box);
        });
        QTimer guard;  // a box left open would otherwise hang the test
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "the About box stayed open";
                modal->close();
            }
        });
        open.start(0);
        guard.start(5000);
        window->findChild<QAction*>("mnuHelpAbout")->trigger();
        EXPECT_TRUE(ran);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    static QString text(const frmAbout& box, const char* name) {
        return box.findChild<QLabel*>(QLatin1String(name))->text();
    }
};

TEST_F(AboutBoxTest, ShowsTitleVersionAndDescriptionWithTheFocusOnOk) {
    withAboutBox([](frmAbout& box) {
        EXPECT_EQ(box.windowTitle(), "About Quintrel");
        EXPECT_EQ(text(box, "lblTitle"), "Quintrel");
        EXPECT_EQ(text(box, "lblVersion"), "Version 1.0.2");
        EXPECT_EQ(text(box, "lblDescription"),
                  "Quintrel calculates time and frequency grids and conversion formulas for the "
                  "Fourier Transform.");
        EXPECT_EQ(box.size(), QSize(twipsToPixelsX(box, 5865), twipsToPixelsY(box, 3465)));
        EXPECT_EQ(box.minimumSize(), box.maximumSize());
        EXPECT_TRUE(box.isModal());

        auto* ok = box.findChild<QPushButton*>("cmdOK");
        auto* sysInfo = box.findChild<QPushButton*>("cmdSysInfo");
        EXPECT_EQ(sysInfo->text(), "&System Info...");
        EXPECT_TRUE(ok->isDefault());
        EXPECT_EQ(QApplication::focusWidget(), ok);
        QTest::keyClick(&box, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), sysInfo);
        QTest::keyClick(&box, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), ok);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
}

TEST_F(AboutBoxTest, EnterAndEscCloseIt) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        withAboutBox([key](frmAbout& box) { QTest::keyClick(&box, key); });
    }
}

TEST_F(AboutBoxTest, ReopeningLoadsFreshLabels) {
    withAboutBox([](frmAbout& box) {
        box.findChild<QLabel*>("lblTitle")->setText("changed");
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    withAboutBox([](frmAbout& box) {
        EXPECT_EQ(text(box, "lblTitle"), "Quintrel");
        QTest::keyClick(&box, Qt::Key_Escape);
    });
}

// Also run with QT_SCALE_FACTOR and QT_FONT_DPI set (see CMakeLists.txt): the icon must be one
// drawn at the size it takes in device pixels, not a smaller one enlarged.
TEST_F(AboutBoxTest, TheIconIsTheImageDrawnForItsSizeOnTheScreen) {
    withAboutBox([](frmAbout& box) {
        const QPixmap shown = box.findChild<QLabel*>("picIcon")->pixmap();
        const int pixels = qRound(twipsToPixelsX(box, 480) * box.devicePixelRatioF());
        EXPECT_EQ(shown.size(), QSize(pixels, pixels));
        EXPECT_EQ(shown.deviceIndependentSize(), QSizeF(pixels, pixels) / box.devicePixelRatioF());
        const std::map<int, const char* const*> drawn = {
            {32, quintrel32_xpm}, {48, quintrel48_xpm}, {64, quintrel64_xpm}};
        ASSERT_TRUE(drawn.contains(pixels)) << pixels;
        EXPECT_EQ(shown.toImage().convertToFormat(QImage::Format_RGB32),
                  QImage(drawn.at(pixels)).convertToFormat(QImage::Format_RGB32));
        box.close();
    });
}

// Records the order in which windows are closed.
class Recorded : public QDialog {
  public:
    Recorded(int number, std::vector<int>& closed) : m_number(number), m_closed(closed) {}

  protected:
    void closeEvent(QCloseEvent* event) override {
        m_closed.push_back(m_number);
        QDialog::closeEvent(event);
    }

  private:
    int m_number;
    std::vector<int>& m_closed;
};

TEST_F(AboutBoxTest, ClosingTheMainWindowUnloadsTheOthersLastLoadedFirst) {
    std::vector<int> closed;
    std::vector<std::unique_ptr<Recorded>> others;
    for (int i = 0; i < 6; ++i) {
        others.push_back(std::make_unique<Recorded>(i, closed));
    }
    for (int i : {3, 0, 5, 1, 4, 2}) {  // loaded (shown) in another order than made
        others[static_cast<std::size_t>(i)]->show();
    }
    window->close();
    EXPECT_EQ(closed, (std::vector<int>{2, 4, 1, 5, 0, 3}));
}

TEST_F(AboutBoxTest, AMissingHelpFileIsReportedByTheHelpLayerOnly) {
    // The help file is looked for beside this test program, where there is none.
#ifdef Q_OS_WIN
    const QString kHelpFileName = QStringLiteral("Quintrel.chm");
#else
    const QString kHelpFileName = QStringLiteral("Quintrel.hlp");
#endif
    const QString path =
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + "/" + kHelpFileName);
    window->findChild<QAction*>("mnuHelpContents")->trigger();
    window->findChild<QAction*>("mnuHelpSearchForHelpOn")->trigger();
    ASSERT_EQ(messages.messages.size(), 2u);
    for (const CaughtMessage& message : messages.messages) {
        EXPECT_EQ(message.text, "Cannot find the help file " + path + ".");
        EXPECT_EQ(message.title, "Help");
    }
}

}  // namespace
}  // namespace quintrel::testing
