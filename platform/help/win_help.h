// The help viewer behind the Help menu: WinHelpA's calling shape (window, help file, command,
// keyword) over Qt Assistant. The compiled help file and its collection ("<name>.qhc") lie side by
// side; the viewer runs on its own and is never waited for.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace quintrel::help {

inline constexpr unsigned kHelpContents = 0x0003;    // HELP_CONTENTS: the contents
inline constexpr unsigned kHelpPartialKey = 0x0105;  // HELP_PARTIALKEY: the keyword index

// What one request to the viewer came to.
struct [[nodiscard]] HelpResult {
    // The viewer was asked to show the help. False also for a command it does not know and for a
    // missing help file, which the viewer has already reported in a message box of its own.
    bool shown = false;
    // Set when the viewer is not installed or cannot be started: a sentence for the caller to show.
    std::optional<QString> error;
};

// A started viewer that takes further commands.
class ViewerProcess {
  public:
    virtual ~ViewerProcess() = default;
    // Hands the viewer one command line; false once the viewer has gone.
    virtual bool send(const QByteArray& commandLine) = 0;
};

class ViewerLauncher {
  public:
    virtual ~ViewerLauncher() = default;
    // Starts program detached; nullptr when it cannot be started.
    virtual std::unique_ptr<ViewerProcess> start(const QString& program,
                                                 const QStringList& arguments) = 0;
};

// Where the viewer program is: Qt's own binaries folder first, then the search path. Empty when
// it is not installed.
QString findAssistant();

// The command-line arguments and the remote-control line of one request.
struct ViewerRequest {
    QStringList arguments;     // for a viewer started now
    QByteArray remoteCommand;  // for a viewer already showing the same collection
};

// What the viewer is told for kHelpContents (the contents) or kHelpPartialKey (the index).
// keyword: for kHelpPartialKey, the keyword to show (empty: none, the index starts unfiltered).
ViewerRequest viewerRequest(const QString& collection, unsigned command, const QString& keyword);

class HelpViewer {
  public:
    HelpViewer(ViewerLauncher& launcher, std::function<QString()> locateViewer);
    ~HelpViewer();

    // helpFile: the compiled help; its collection is the same path with the suffix ".qhc".
    // keyword: for kHelpPartialKey, the keyword to show (empty: none); other commands ignore it.
    // A missing help file or collection is reported in the help layer's own message box over
    // window and gives a result that is neither shown nor an error.
    HelpResult WinHelpA(QWidget* window, const QString& helpFile, unsigned command,
                        const QString& keyword);

  private:
    ViewerLauncher& m_launcher;
    std::function<QString()> m_locateViewer;
    QString m_collection;                     // shown by m_viewer
    std::unique_ptr<ViewerProcess> m_viewer;  // the viewer of the last call, while it runs
};

// The program's one viewer: Qt Assistant, found with findAssistant and started detached. Created
// on the first call, so nothing of it costs start-up time.
HelpResult WinHelpA(QWidget* window, const QString& helpFile, unsigned command,
                    const QString& keyword);

}  // namespace quintrel::help
