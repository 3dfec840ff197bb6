#include "platform/help/assistant_viewer.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStandardPaths>

#include "platform/help/assistant_launcher.h"

namespace quintrel::help {

namespace {

constexpr auto kViewerName = "assistant";

QString collectionOf(const QString& helpFile) {
    const QFileInfo file(helpFile);
    return QDir(file.path()).filePath(file.completeBaseName() + QStringLiteral(".qhc"));
}

}  // namespace

QString helpFileName() {
    return QStringLiteral("Quintrel.hlp");
}

QString helpFileSetting() {
    return QStringLiteral("Quintrel.HLP");
}

QString findAssistant() {
    const QString qtBinaries = QLibraryInfo::path(QLibraryInfo::BinariesPath);
    const QString inQt = QStandardPaths::findExecutable(QLatin1String(kViewerName), {qtBinaries});
    return inQt.isEmpty() ? QStandardPaths::findExecutable(QLatin1String(kViewerName)) : inQt;
}

ViewerRequest viewerRequest(const QString& collection, unsigned command, const QString& keyword) {
    const QString pane =
        command == kHelpContents ? QStringLiteral("contents") : QStringLiteral("index");
    ViewerRequest request;
    request.arguments = {QStringLiteral("-collectionFile"),
                         collection,
                         QStringLiteral("-enableRemoteControl"),
                         QStringLiteral("-show"),
                         pane,
                         QStringLiteral("-activate"),
                         pane};
    // "show" brings the pane to the front and gives it the focus; every command also raises the
    // viewer's window.
    request.remoteCommand = "show " + pane.toLatin1();
    if (command == kHelpPartialKey && !keyword.isEmpty()) {
        // The viewer's command language ends a command at ';' and a line at a line break.
        QString word = keyword;
        word.remove(QLatin1Char(';')).remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
        request.remoteCommand += ";activateKeyword " + word.toUtf8();
    }
    request.remoteCommand += '\n';
    return request;
}

HelpViewer::HelpViewer(ViewerLauncher& launcher, std::function<QString()> locateViewer)
    : m_launcher(launcher), m_locateViewer(std::move(locateViewer)) {}

HelpViewer::~HelpViewer() = default;

HelpResult HelpViewer::WinHelpA(QWidget* window, const QString& helpFile, unsigned command,
                                const QString& keyword) {
    if (command != kHelpContents && command != kHelpPartialKey) {
        return {};
    }
    const QString collection = collectionOf(helpFile);
    for (const QString& path : {helpFile, collection}) {
        if (!QFileInfo(path).isFile()) {
            reportMissingHelpFile(window, path);
            return {};
        }
    }
    const ViewerRequest request = viewerRequest(collection, command, keyword);

    // A viewer still open on the same help is brought to the requested pane, not joined by another.
    if (m_viewer && m_collection == collection && m_viewer->send(request.remoteCommand)) {
        return {.shown = true, .error = std::nullopt};
    }
    m_viewer.reset();

    const QString program = m_locateViewer();
    if (program.isEmpty()) {
        return {.error = QStringLiteral("The help viewer Qt Assistant is not installed (Debian "
                                        "package assistant-qt6).")};
    }
    m_viewer = m_launcher.start(program, request.arguments);
    if (!m_viewer) {
        return {.error = QStringLiteral("The help viewer could not be started: ") +
                         QDir::toNativeSeparators(program)};
    }
    m_collection = collection;
    if (command == kHelpPartialKey && request.remoteCommand.contains("activateKeyword")) {
        m_viewer->send(request.remoteCommand);  // held by the viewer until its help is loaded
    }
    return {.shown = true, .error = std::nullopt};
}

HelpResult WinHelpA(QWidget* window, const QString& helpFile, unsigned command,
                    const QString& keyword) {
    static AssistantLauncher launcher;
    static HelpViewer viewer(launcher, &findAssistant);
    return viewer.WinHelpA(window, helpFile, command, keyword);
}

}  // namespace quintrel::help
