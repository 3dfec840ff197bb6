#include "menufile/menu_file_io.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>

#include "menufile/menu_procedures.h"
#include "menufile/menu_reader.h"
#include "menufile/menu_writer.h"

namespace quintrel {

namespace {

constexpr std::string_view kReadError = "Error reading from menu file ";
constexpr std::string_view kWriteError = "Error writing to menu file ";

}  // namespace

std::optional<std::string> readFilePrefix(const std::string& path, std::size_t maxBytes) {
    const QString name = QString::fromStdString(path);
    // Only regular files: opening a pipe would wait for a writer, and a device may never end.
    if (!QFileInfo(name).isFile()) {
        return std::nullopt;
    }
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray bytes = file.read(static_cast<qint64>(maxBytes));
    if (file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return bytes.toStdString();
}

void ReadMenuFile(GridWindow& window, GridHandlers& handlers, GridState& state,
                  MessageReporter& reporter) {
    const std::optional<std::string> bytes = readFilePrefix(state.MenuFilePath, kMaxMenuFileBytes);
    if (!bytes) {
        reporter.report(std::string(kReadError) + state.MenuFilePath);
        state.GridValid = kFalse;
        return;
    }
    const MenuLoad load = putMenuFile(*bytes, window, handlers, state);
    if (load.error) {
        reporter.report(std::string(kReadError) + state.MenuFilePath);
        return;
    }
    // A stored grid the summary cannot be formed from (only a hand-edited file holds one) is an
    // arithmetic failure like any other, not a read error.
    if (!load.summary.ok()) {
        reporter.warn(load.summary.message());
    }
}

bool WriteMenuFile(const GridWindow& window, const GridState& state, MessageReporter& reporter) {
    const std::string bytes = writeMenuItems(captureMenuItems(window, state));
    // QSaveFile writes a temporary file beside the target and renames it over the target only in
    // commit(); until then, and whenever anything fails, the previous file stays as it was.
    // The explicit flush matters: when the disk takes only part of the buffered bytes (a file-size
    // limit, a quota), commit() flushes without noticing the short write and would rename a
    // truncated file over the previous one. A failed flush leaves the temporary file uncommitted,
    // and the destructor removes it.
    QSaveFile file(QString::fromStdString(state.MenuFilePath));
    // A writable file in a folder the user may not create files in (a shared folder, a file
    // handed over by someone else) cannot get its temporary neighbour; it is then written in
    // place, as any editor would, rather than not at all.
    file.setDirectWriteFallback(true);
    const qint64 size = static_cast<qint64>(bytes.size());
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(bytes.data(), size) == size && file.flush() &&
                         file.error() == QFileDevice::NoError && file.commit();
    if (!written) {
        reporter.report(std::string(kWriteError) + state.MenuFilePath);
    }
    return written;
}

}  // namespace quintrel
