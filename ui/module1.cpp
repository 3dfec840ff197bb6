#include "ui/module1.h"

#include <QApplication>
#include <memory>

#include "ui/app_properties.h"
#include "ui/frm_main.h"

namespace quintrel::Module1 {

namespace {

// Keeps the main window alive from Main to the end of the program.
std::unique_ptr<frmMain> g_mainWindow;

}  // namespace

void configureApplication(QApplication& application) {
    application.setApplicationName(app::Title());
    application.setApplicationVersion(app::versionText());
    // The main window's font for the whole program, dialogs included. Qt lays out a new text
    // field's first line in the application font before the field takes its window's font, so
    // with the desktop's font left in place every start would load a face it never shows.
    QApplication::setFont(frmMain::designFont());
}

void Main() {
    g_mainWindow = std::make_unique<frmMain>(app::Folder());
    g_mainWindow->show();
}

frmMain* MainWindow() {
    return g_mainWindow.get();
}

void End() {
    g_mainWindow.reset();
}

}  // namespace quintrel::Module1
