// Help > Contents and Help > Search For Help On...: the help file beside the program, handed to
// the help viewer with a command, and any error the call raises shown in a message box.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

class QWidget;

namespace quintrel {

// The help viewer's call: window, help file, command, data. Its result is not looked at; it may
// throw a std::exception whose what() describes the failure.
using WinHelpCall = std::function<bool(QWidget*, const QString&, unsigned, std::uintptr_t)>;

// folder: the program's folder without a trailing separator. Joined with the platform's one.
QString helpFilePath(const QString& folder);

// With an empty helpSetting, says that there is no help (information icon, titled with the
// window's caption) and calls nothing. Otherwise asks for the contents; a raised error is shown
// with its description, titled with title.
void showHelpContents(QWidget* window, const QString& helpSetting, const QString& folder,
                      const QString& title, const WinHelpCall& winHelp);

// The keyword index with no keyword preset; errors as above. The help setting is not consulted.
void showHelpIndex(QWidget* window, const QString& folder, const QString& title,
                   const WinHelpCall& winHelp);

}  // namespace quintrel
