#include "platform/help/assistant_launcher.h"

#include <QProcess>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#endif

namespace quintrel::help {

namespace {

#ifdef Q_OS_UNIX

// The writing end of the viewer's standard input.
class PipedViewer : public ViewerProcess {
  public:
    explicit PipedViewer(int fd) : m_fd(fd) {}
    ~PipedViewer() override { ::close(m_fd); }

    bool send(const QByteArray& commandLine) override {
        pollfd probe{m_fd, POLLOUT, 0};
        if (::poll(&probe, 1, 0) != 1 || (probe.revents & (POLLERR | POLLHUP)) ||
            !(probe.revents & POLLOUT)) {
            return false;  // no reader left (the viewer was closed), or its input is full
        }
        return writeWithoutSigpipe(commandLine);
    }

  private:
    // A viewer closed between the poll and the write must not take this program with it: the
    // pipe's SIGPIPE is held back for this thread and discarded.
    bool writeWithoutSigpipe(const QByteArray& bytes) {
        sigset_t pipeSignal;
        sigset_t previous;
        sigemptyset(&pipeSignal);
        sigaddset(&pipeSignal, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
        const ssize_t written = ::write(m_fd, bytes.constData(), static_cast<size_t>(bytes.size()));
        const bool broken = written < 0 && errno == EPIPE;
        if (broken) {
            const timespec now{0, 0};
            sigtimedwait(&pipeSignal, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        return written == bytes.size();
    }

    int m_fd;
};

std::unique_ptr<ViewerProcess> startPiped(const QString& program, const QStringList& arguments) {
    QTemporaryDir folder;  // private to this user; removed, pipe and all, on return
    if (!folder.isValid()) {
        return nullptr;
    }
    const QByteArray fifo = QFile::encodeName(folder.filePath(QStringLiteral("viewer-input")));
    if (::mkfifo(fifo.constData(), 0600) != 0) {
        return nullptr;
    }
    // Held open for reading and writing so that the viewer's side opens without waiting.
    const int holder = ::open(fifo.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (holder < 0) {
        return nullptr;
    }
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QFile::decodeName(fifo));
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (!process.startDetached()) {
        ::close(holder);
        return nullptr;
    }
    // The viewer holds the reading end now (QProcess opens it before it returns); from here on
    // this program is only a writer, so a closed viewer shows as a pipe without reader.
    const int writer = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    ::close(holder);
    if (writer < 0) {
        return nullptr;  // the viewer has already gone
    }
    return std::make_unique<PipedViewer>(writer);
}

#endif

}  // namespace

std::unique_ptr<ViewerProcess> AssistantLauncher::start(const QString& program,
                                                        const QStringList& arguments) {
#ifdef Q_OS_UNIX
    return startPiped(program, arguments);
#else
    if (!QProcess::startDetached(program, arguments)) {
        return nullptr;
    }
    // Without a pipe the viewer takes no later commands; the next request starts another.
    struct Unreachable : ViewerProcess {
        bool send(const QByteArray&) override { return false; }
    };
    return std::make_unique<Unreachable>();
#endif
}

}  // namespace quintrel::help
