// The help viewer on Linux: WinHelpA's requests as Qt Assistant's arguments and remote-control
// commands. The compiled help file and its collection ("<name>.qhc") lie side by side; the
// program's viewer (WinHelpA) is Qt Assistant, found with findAssistant and started detached.
#pragma once

#include <QStringList>
#include <functional>
#include <memory>

#include "platform/help/win_help.h"

namespace quintrel::help {

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

}  // namespace quintrel::help
