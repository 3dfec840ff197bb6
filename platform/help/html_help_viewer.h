// The help viewer on Windows: WinHelpA's requests as calls to HtmlHelpW, the system's HTML Help
// (hhctrl.ocx, loaded when first needed). The help file is an HTML Help file under the name the
// program opens; its window runs on its own and is never waited for.
#pragma once

#include <qwindowdefs.h>

#include <QByteArray>
#include <QString>

#include "platform/help/win_help.h"

namespace quintrel::help {

// The ZoneId of the [ZoneTransfer] section of a Zone.Identifier stream, the mark Windows puts on
// downloaded files (and Explorer on the files it unpacks from a marked ZIP): 0 this computer,
// 1 the local intranet, 2 trusted sites, 3 the Internet, 4 restricted sites. nullopt when the
// text has no such section or no number there. stream: at most a few KiB, UTF-8 or UTF-16 with
// its byte order mark.
std::optional<int> zoneOfIdentifier(const QByteArray& stream);

// Whether HTML Help refuses the pages of a file marked with zone: the Internet and restricted
// sites.
bool zoneBlocksHelp(int zone);

class HtmlHelpViewer {
  public:
    // Where HtmlHelpW is looked for. Other names than the system's only serve tests.
    explicit HtmlHelpViewer(QString library = QStringLiteral("hhctrl.ocx"),
                            QByteArray entryPoint = QByteArrayLiteral("HtmlHelpW"));
    // Closes the help windows this viewer opened, while the application is still there; the
    // program's own viewer has closed them when the application was about to quit.
    ~HtmlHelpViewer();
    HtmlHelpViewer(const HtmlHelpViewer&) = delete;
    HtmlHelpViewer& operator=(const HtmlHelpViewer&) = delete;

    // kHelpContents opens the contents tab, kHelpPartialKey the index tab with keyword typed in
    // (empty: none). An open help window of the same file is reused. A missing help file, or one
    // the viewer cannot read, is reported in the help layer's own message box over window; one
    // that Windows marked as coming from the Internet is not handed to the viewer (which would
    // show an empty window) but gives the error blockedHelpFileError.
    HelpResult WinHelpA(QWidget* window, const QString& helpFile, unsigned command,
                        const QString& keyword);

    // Closes every help window this program opened (HH_CLOSE_ALL); nothing when none was.
    void closeAll();

    // The help window of the last request that showed the help; 0 before one and after closeAll.
    WId helpWindow() const { return m_helpWindow; }

  private:
    using EntryPoint = void (*)();  // HtmlHelpW, before it is cast to its own type

    // Loads the entry point on the first call; the error sentence when it cannot be.
    std::optional<QString> load();

    QString m_library;
    QByteArray m_entryPoint;
    EntryPoint m_htmlHelp = nullptr;
    WId m_helpWindow = 0;
};

}  // namespace quintrel::help
