// The help viewer on Windows: WinHelpA's requests as calls to HtmlHelpW, the system's HTML Help
// (hhctrl.ocx, loaded when first needed). The help file is an HTML Help file under the name the
// program opens; its window runs on its own and is never waited for.
#pragma once

#include <qwindowdefs.h>

#include <QByteArray>
#include <QString>

#include "platform/help/win_help.h"

namespace quintrel::help {

class HtmlHelpViewer {
  public:
    // Where HtmlHelpW is looked for. Other names than the system's only serve tests.
    explicit HtmlHelpViewer(QString library = QStringLiteral("hhctrl.ocx"),
                            QByteArray entryPoint = QByteArrayLiteral("HtmlHelpW"));
    // Closes the help windows this viewer opened.
    ~HtmlHelpViewer();
    HtmlHelpViewer(const HtmlHelpViewer&) = delete;
    HtmlHelpViewer& operator=(const HtmlHelpViewer&) = delete;

    // kHelpContents opens the contents tab, kHelpPartialKey the index tab with keyword typed in
    // (empty: none). An open help window of the same file is reused. A missing help file, or one
    // the viewer cannot read, is reported in the help layer's own message box over window.
    HelpResult WinHelpA(QWidget* window, const QString& helpFile, unsigned command,
                        const QString& keyword);

    // The help window of the last request that showed the help; 0 before one.
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
