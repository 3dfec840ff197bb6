// Help > Contents and Help > Search For Help On...: the help file beside the program, handed to
// the help viewer with a command, and any error the viewer reports shown in a message box.
#pragma once

#include <QString>
#include <functional>

#include "platform/help/win_help.h"

class QWidget;

namespace quintrel {

// The help viewer's call: window, help file, command, keyword. Of its result only the error is
// looked at: whether the help was shown makes no difference to the command.
using WinHelpCall =
    std::function<help::HelpResult(QWidget*, const QString&, unsigned, const QString&)>;

// folder: the program's folder without a trailing separator. Joined with the platform's one and
// the help file's name: Quintrel.chm on Windows, Quintrel.hlp elsewhere.
QString helpFilePath(const QString& folder);

// The help-file setting the program is built with: "Quintrel.chm" on Windows, "Quintrel.HLP"
// elsewhere.
QString helpFileSetting();

// With an empty helpSetting, says that there is no help (information icon, titled with the
// window's caption) and calls nothing. Otherwise asks for the contents; an error the viewer
// reports is shown with its description (no icon), titled with title.
void showHelpContents(QWidget* window, const QString& helpSetting, const QString& folder,
                      const QString& title, const WinHelpCall& winHelp = &help::WinHelpA);

// The keyword index with no keyword preset; errors as above. The help setting is not consulted.
// Both ask the program's own viewer unless given another.
void showHelpIndex(QWidget* window, const QString& folder, const QString& title,
                   const WinHelpCall& winHelp = &help::WinHelpA);

}  // namespace quintrel
