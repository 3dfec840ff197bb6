// Looks at the help as the user gets it: chooses Help > Contents and then Help > Search For Help
// On... in a real main window and grabs the screen after each, so the second picture shows the
// first viewer steered to its index. Needs a display (xvfb-run) and Qt Assistant.
//   quintrel_render_help <contents.png> <index.png>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <cstdio>

#include "ui/frm_main.h"
#include "ui/module1.h"

namespace {

// The part of the screen that windows cover: the bare screen of a virtual X server is black.
QRect coveredPart(const QImage& screen) {
    QRect covered;
    for (int y = 0; y < screen.height(); ++y) {
        for (int x = 0; x < screen.width(); ++x) {
            if (qGray(screen.pixel(x, y)) != 0) {
                covered |= QRect(x, y, 1, 1);
            }
        }
    }
    return covered;
}

bool grabScreen(const QString& path) {
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    const QImage shot = screen.copy(coveredPart(screen));
    if (!shot.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s: %dx%d pixels\n", qPrintable(path), shot.width(), shot.height());
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: quintrel_render_help <contents.png> <index.png>\n");
        return 2;
    }
    quintrel::Module1::configureApplication(application);
    quintrel::frmMain window(QStringLiteral(QUINTREL_APP_DIR));
    window.move(0, 0);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window did not appear\n");
        return 1;
    }
    window.findChild<QAction*>(QStringLiteral("mnuHelpContents"))->trigger();
    QTest::qWait(6000);  // the viewer starts and copies the collection
    if (!grabScreen(args[1])) {
        return 1;
    }
    window.findChild<QAction*>(QStringLiteral("mnuHelpSearchForHelpOn"))->trigger();
    QTest::qWait(2000);
    return grabScreen(args[2]) ? 0 : 1;
}
