// Renders the About box over the main window to a PNG file, for looking at its layout; run with
// QT_FONT_DPI=192 for the high-resolution layout.
//   quintrel_render_about <output.png>
#include <QApplication>
#include <QPixmap>
#include <QTest>
#include <cstdio>

#include "about/frm_about.h"
#include "ui/app_properties.h"
#include "ui/frm_main.h"
#include "ui/module1.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: quintrel_render_about <output.png>\n");
        return 2;
    }
    quintrel::Module1::configureApplication(application);
    quintrel::frmMain window(QStringLiteral(QUINTREL_APP_DIR));
    window.show();
    const quintrel::app::Version version = quintrel::app::version();
    quintrel::frmAbout about(
        &window, {quintrel::app::Title(), version.major, version.minor, version.revision});
    about.show();
    if (!QTest::qWaitForWindowExposed(&about)) {
        std::fprintf(stderr, "the About box did not appear\n");
        return 1;
    }
    QTest::qWait(50);
    const QPixmap shot = about.grab();
    if (!shot.save(args[1], "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    std::printf("%s: %dx%d pixels\n", qPrintable(args[1]), shot.width(), shot.height());
    return 0;
}
