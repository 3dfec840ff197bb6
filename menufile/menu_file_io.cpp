#include "menufile/menu_file_io.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>
#include <algorithm>

#include "menufile/menu_procedures.h"
#include "menufile/menu_reader.h"
#include "menufile/menu_writer.h"
#include "platform/files/regular_file.h"

namespace quintrel {

namespace {

constexpr std::string_view kReadError = "Error reading from menu file ";
constexpr std::string_view kWriteError = "Error writing to menu file ";

std::string reasonOf(const QFileDevice& file) {
    return file.errorString().toStdString();
}

// Writes all of bytes at the file's position, however many calls that takes, and returns how many
// reached the file. Unbuffered, a short write (a file-size limit, a full disk) shows in the count
// and the call after it fails with the system's reason.
qint64 writeAll(QFileDevice& file, std::string_view bytes) {
    const auto size = static_cast<qint64>(bytes.size());
    qint64 done = 0;
    while (done < size) {
        const qint64 written = file.write(bytes.data() + done, size - done);
        if (written <= 0) {
            break;
        }
        done += written;
    }
    return done;
}

// Saves through a temporary file beside the target that replaces it only in commit(); until then,
// and whenever anything fails, the previous file stays as it was and the destructor removes the
// temporary file. Returns nothing when saved, the reason otherwise.
std::optional<std::string> saveAtomically(QSaveFile& file, std::string_view bytes) {
    const bool saved = writeAll(file, bytes) == static_cast<qint64>(bytes.size()) &&
                       file.error() == QFileDevice::NoError && file.commit();
    return saved ? std::nullopt : std::optional(reasonOf(file));
}

// Writes bytes over the existing file at path, for a folder that allows no temporary file beside
// it. The bytes about to be overwritten are kept first (only those: the tail beyond the new length
// is untouched until the final truncation), and a write that fails puts back what it overwrote
// and the old length. A file that cannot be read is not touched at all, as its bytes could not be
// kept. Returns nothing when saved, the reason otherwise.
std::optional<std::string> overwriteInPlace(const QString& path, std::string_view bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        return reasonOf(file);
    }
    const qint64 oldSize = file.size();
    const auto newSize = static_cast<qint64>(bytes.size());
    const QByteArray kept = file.read(std::min(oldSize, newSize));
    if (kept.size() != std::min(oldSize, newSize) || !file.seek(0)) {
        return reasonOf(file);
    }
    const qint64 written = writeAll(file, bytes);
    if (written == newSize && file.resize(newSize)) {
        return std::nullopt;
    }
    std::string reason = reasonOf(file);
    file.unsetError();
    const std::string_view overwritten(
        kept.constData(), static_cast<std::size_t>(std::min<qint64>(written, kept.size())));
    const bool restored = file.seek(0) &&
                          writeAll(file, overwritten) == static_cast<qint64>(overwritten.size()) &&
                          file.resize(oldSize);
    if (!restored) {
        reason += "\nThe previous contents of the file could not be put back (" + reasonOf(file) +
                  "); the file may be incomplete.";
    }
    return reason;
}

// The reason an existing file may not be written, found by opening it for writing without changing
// it: a read-only file, one the user has no write permission for, one another program holds open
// without sharing. The save would otherwise replace such a file through its temporary neighbour,
// as renaming over it is allowed wherever the folder is writable.
std::optional<std::string> refusesWriting(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        return reasonOf(file);
    }
    // The read-only attribute, where the system lets its administrator open the file anyway.
    if (!QFileInfo(path).isWritable()) {
        return "The file is read-only.";
    }
    return std::nullopt;
}

// Puts bytes into the file at path, replacing what it held. Returns nothing when saved, the reason
// otherwise.
std::optional<std::string> save(const QString& path, std::string_view bytes) {
    QSaveFile file(path);
    // Unbuffered, so that a write the disk takes only part of (a file-size limit, a quota) fails
    // here with its reason, instead of in the flush inside commit(), which does not notice a short
    // write and would put a truncated file in place of the previous one.
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return saveAtomically(file, bytes);
    }
    if (QFileInfo(path).isFile()) {
        // A writable file in a folder the user may not create files in (a shared folder, a file
        // handed over by someone else) cannot get its temporary neighbour; it is then written in
        // place, as any editor would, rather than not at all.
        return overwriteInPlace(path, bytes);
    }
    return reasonOf(file);
}

}  // namespace

FilePrefix readFilePrefix(const std::string& path, std::size_t maxBytes) {
    const QFileInfo info(QString::fromStdString(path));
    if (info.isDir()) {
        return {std::nullopt, "Is a directory"};
    }
    // Only regular files: reading a pipe would wait for a writer, and a device may never end.
    // The check is made on what was opened, so a file swapped for a pipe meanwhile is refused too.
    const FileBytes file = readRegularFile(info.filesystemFilePath(), maxBytes);
    if (!file.ok()) {
        return {std::nullopt, file.notRegular ? std::string("Not a regular file")
                                              : qt_error_string(file.systemError).toStdString()};
    }
    return {std::string(file.bytes.begin(), file.bytes.end()), {}};
}

void ReadMenuFile(GridWindow& window, GridHandlers& handlers, GridState& state,
                  MessageReporter& reporter) {
    const std::string message = std::string(kReadError) + state.MenuFilePath;
    const FilePrefix file = readFilePrefix(state.MenuFilePath, kMaxMenuFileBytes);
    if (!file.bytes) {
        reporter.reportWithReason(message, file.reason);
        state.GridValid = kFalse;
        return;
    }
    const MenuLoad load = putMenuFile(*file.bytes, window, handlers, state);
    if (load.error) {
        reporter.reportWithReason(message, describe(*load.error));
        return;
    }
    // A stored grid the summary cannot be formed from (only a hand-edited file holds one) is an
    // arithmetic failure like any other, not a read error.
    if (!load.summary.ok()) {
        reporter.warn(load.summary.message());
    }
}

bool WriteMenuFile(const GridWindow& window, const GridState& state, MessageReporter& reporter) {
    const QString path = QString::fromStdString(state.MenuFilePath);
    std::optional<std::string> failure = refusesWriting(path);
    if (!failure) {
        failure = save(path, writeMenuItems(captureMenuItems(window, state)));
    }
    if (failure) {
        reporter.reportWithReason(std::string(kWriteError) + state.MenuFilePath, *failure);
    }
    return !failure;
}

}  // namespace quintrel
