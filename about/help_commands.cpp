#include "about/help_commands.h"

#include <QDir>
#include <optional>

#include "widgets/message_box.h"

namespace quintrel {

namespace {

// Every step runs; an error the viewer reports on the way is kept and shown once they have all run.
void runHelpCommand(QWidget* window, const QString& folder, const QString& title, unsigned command,
                    const WinHelpCall& winHelp) {
    const QString helpFile = helpFilePath(folder);
    const QString keyword;  // none: the index starts unfiltered
    const std::optional<QString> pending = winHelp(window, helpFile, command, keyword).error;
    if (pending) {
        showMessage(window, title, *pending);
    }
}

}  // namespace

QString helpFilePath(const QString& folder) {
    return folder + QDir::separator() + help::helpFileName();
}

QString helpFileSetting() {
    return help::helpFileSetting();
}

void showHelpContents(QWidget* window, const QString& helpSetting, const QString& folder,
                      const QString& title, const WinHelpCall& winHelp) {
    if (helpSetting.isEmpty()) {
        showMessage(window, window ? window->windowTitle() : title,
                    QStringLiteral("Unable to display Help Contents. There is no Help associated "
                                   "with this project."),
                    QMessageBox::Information);
        return;
    }
    runHelpCommand(window, folder, title, help::kHelpContents, winHelp);
}

void showHelpIndex(QWidget* window, const QString& folder, const QString& title,
                   const WinHelpCall& winHelp) {
    runHelpCommand(window, folder, title, help::kHelpPartialKey, winHelp);
}

}  // namespace quintrel
