// Renders the main window after the typical request (Δt 1 ns, N 8, ">>") to a PNG file, for the
// README's screenshot and for looking at the layout at other resolutions. The optional arguments
// after the folder choose another N, time unit and frequency unit (list indices) for checking how
// the summary lines fit, and a control to give the focus with the Tab key.
//   quintrel_render_window <output.png> [folder [N [time unit [frequency unit [focus [Δt]]]]]]
#include <QApplication>
#include <QComboBox>
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
    if (args.size() > 4) {
        window.findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(args[4].toInt());
    }
    if (args.size() > 5) {
        window.findChild<QComboBox*>(QStringLiteral("Combo2"))->setCurrentIndex(args[5].toInt());
    }
    QTest::keyClicks(window.findChild<QLineEdit*>(QStringLiteral("Text1")),
                     args.size() > 7 ? args[7] : QStringLiteral("1"));
    QTest::keyClicks(window.findChild<QLineEdit*>(QStringLiteral("Text2")),
                     args.size() > 3 ? args[3] : QStringLiteral("8"));
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    if (args.size() > 6) {
        // Tab from the control before it, so the focus shows as it does for a keyboard user.
        QApplication::setActiveWindow(&window);
        QWidget* target = window.findChild<QWidget*>(args[6]);
        for (int i = 0; target && i < 12 && QApplication::focusWidget() != target; ++i) {
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &window,
                            Qt::Key_Tab);
        }
    }
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
