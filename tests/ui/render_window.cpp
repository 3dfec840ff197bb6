// Renders the main window after the typical request (Δt 1 ns, N 8, ">>") to a PNG file, for the
// README's screenshot and for looking at the layout at other resolutions.
//   quintrel_render_window <output.png> [picture folder]
#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "ui/frm_main.h"
#include "ui/module1.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: quintrel_render_window <output.png> [picture folder]\n");
        return 2;
    }
    quintrel::Module1::configureApplication(application);
    quintrel::frmMain window(args.size() > 2 ? args[2] : QStringLiteral(QUINTREL_APP_DIR));
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window did not appear\n");
        return 1;
    }
    QTest::keyClicks(window.findChild<QLineEdit*>(QStringLiteral("Text1")), QStringLiteral("1"));
    QTest::keyClicks(window.findChild<QLineEdit*>(QStringLiteral("Text2")), QStringLiteral("8"));
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    QTest::qWait(50);

    const QPixmap shot = window.grab();
    if (!shot.save(args[1], "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    std::printf("%s: %dx%d pixels, %d dpi\n", qPrintable(args[1]), shot.width(), shot.height(),
                window.logicalDpiX() * qRound(shot.devicePixelRatio()));
    return 0;
}
