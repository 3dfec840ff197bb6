// The help viewer behind the Help menu, in WinHelpA's calling shape (window, help file, command,
// keyword): Qt Assistant on Linux, the system's HTML Help on Windows. The viewer runs on its own
// and is never waited for.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace quintrel::help {

inline constexpr unsigned kHelpContents = 0x0003;    // HELP_CONTENTS: the contents
inline constexpr unsigned kHelpPartialKey = 0x0105;  // HELP_PARTIALKEY: the keyword index

// What one request to the viewer came to.
struct [[nodiscard]] HelpResult {
    // The viewer was asked to show the help. False also for a command it does not know and for a
    // missing or unreadable help file, which the help layer has already reported in a message box
    // of its own.
    bool shown = false;
    // Set when the viewer is not installed or cannot be started, or when it would show nothing of
    // the help file (blockedHelpFileError): a sentence for the caller to show.
    std::optional<QString> error;
};

// The compiled help's file name beside the program, as the platform's viewer opens it: on Windows
// "Quintrel.chm", the name HTML Help (and Explorer) know its files by (".hlp" is the retired
// WinHelp format, which current Windows no longer opens); elsewhere Qt Assistant's compressed help
// "Quintrel.hlp", beside its collection "Quintrel.qhc".
QString helpFileName();
// The help-file setting the program is built with, which names that file: "Quintrel.chm" on
// Windows, "Quintrel.HLP" elsewhere.
QString helpFileSetting();

// The program's one viewer, created on the first call, so nothing of it costs start-up time.
// helpFile: the compiled help beside the program. keyword: for kHelpPartialKey, the keyword to
// show (empty: none, the index starts unfiltered); other commands ignore it.
HelpResult WinHelpA(QWidget* window, const QString& helpFile, unsigned command,
                    const QString& keyword);

// The help layer's answer to a help file that is not there, as WinHelp had one: a message box of
// its own over window, naming path with the platform's separators.
void reportMissingHelpFile(QWidget* window, const QString& path);
// The same for a help file that is there but that the viewer cannot read.
void reportUnreadableHelpFile(QWidget* window, const QString& path);

// The error for a help file that Windows marked as downloaded from the Internet, whose pages HTML
// Help refuses to show: what the user can do about it. path: with the platform's separators.
QString blockedHelpFileError(const QString& path);

}  // namespace quintrel::help
