// Quintrel: time and frequency grids and conversion formulas for the Fourier Transform.
#include <QApplication>

#include "ui/module1.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    quintrel::Module1::configureApplication(application);
    quintrel::Module1::Main();
    const int exitCode = QApplication::exec();
    quintrel::Module1::End();
    return exitCode;
}
