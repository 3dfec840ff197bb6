// The application properties fixed when the program is built: title, folder, help file, version.
#pragma once

#include <QString>

namespace quintrel::app {

struct Version {
    int major;
    int minor;
    int revision;
};

// "Quintrel": the main window's caption, the message-box title and the settings store's name.
QString Title();

// The folder that holds the executable, with the platform's separators and no trailing one. The
// formula pictures and the help file live here.
QString Folder();

// The help file's name, the one the platform's help viewer opens: "Quintrel.chm" on Windows,
// "Quintrel.HLP" elsewhere; never empty.
QString HelpFile();

Version version();
// "1.0.2"
QString versionText();

}  // namespace quintrel::app
