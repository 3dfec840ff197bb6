// The program's own start-up, Main and all, with only a first-paint report added. The driver
// starts it from a folder that holds the formula pictures, so the first picture is loaded and
// drawn.
#include <QApplication>

#include "first_paint.h"
#include "ui/module1.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    quintrel::bench::FirstPaintReporter reporter;
    application.installEventFilter(&reporter);
    quintrel::Module1::configureApplication(application);
    quintrel::Module1::Main();
    const int exitCode = QApplication::exec();
    quintrel::Module1::End();
    return exitCode;
}
