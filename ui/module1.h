// The program's start-up: the application properties put in place, the main window created,
// loaded and shown.
#pragma once

class QApplication;

namespace quintrel {
class frmMain;
}

namespace quintrel::Module1 {

// Names the application after the Title and gives it its version.
void configureApplication(QApplication& application);

// Creates the main window, which loads its start state, and shows it modeless. Returns at once;
// from then on the program is driven by window events.
void Main();

// The main window Main created, or nullptr before Main and after End.
frmMain* MainWindow();

// Releases the main window; called once the event loop has ended.
void End();

}  // namespace quintrel::Module1
