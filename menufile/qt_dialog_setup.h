// How the File commands' Qt dialogs are set up, apart from showing them, so tests can check it.
#pragma once

#include <string>

class QFileDialog;
class QMessageBox;

namespace quintrel {

enum class FileDialogKind { Open, Save };

// Title, the filter in Qt's form, and: open accepts existing files only; save asks before
// replacing an existing file and gives a name typed without an extension the filter's first
// extension, so that the file shows under that filter when opened again.
void configureFileDialog(QFileDialog& dialog, FileDialogKind kind, const std::string& title,
                         const std::string& filter);

}  // namespace quintrel
