#include "about/help_commands.h"

#include <QDir>
#include <exception>
#include <optional>
#include <string>

#include "widgets/message_box.h"
#include "platform/help/win_help.h"

namespace quintrel {

namespace {

// Every step runs; the first error raised on the way is shown once they have all run.
void runHelpCommand(QWidget* window, const QString& folder, const QString& title, unsigned command,
                    const WinHelpCall& winHelp) {
    std::optional<std::string> pending;
    try {
        // An empty keyword: a 16-bit zero, read by the viewer as an empty string.
        const std::int16_t keyword = 0;
        winHelp(window, helpFilePath(folder), command, reinterpret_cast<std::uintptr_t>(&keyword));
    } catch (const std::exception& error) {
        pending = error.what();
    }
    if (pending) {
        showMessage(window, title, QString::fromStdString(*pending));
    }
}

}  // namespace

QString helpFilePath(const QString& folder) {
    return folder + QDir::separator() + QStringLiteral("Quintrel.hlp");
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
