#include "menufile/menu_file_io.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>
#include <algorithm>
#include <filesystem>
#include <span>

#include "menufile/menu_procedures.h"
#include "menufile/menu_reader.h"
#include "menufile/menu_writer.h"
#include "platform/files/existing_file.h"
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

std::string systemReason(int code) {
    return qt_error_string(code).toStdString();
}

// Writes bytes over the existing file at path, which keeps its owner, group, mode and links. The
// previous bytes are kept first (all of them, up to what a read takes in, and at least those about
// to be overwritten), and a write that fails puts them back with the old length. A file that
// cannot be read is not touched at all, as its bytes could not be kept.
//
// The new bytes reach the disk before the file is cut to their length, and the cut reaches it
// before the save counts as done. A crash between the two leaves the twelve new items followed by
// the old file's tail; the new items end in a line break, so that tail stands on the lines after
// the twelfth, which a read ignores. Cutting first would instead leave, after such a crash, a
// file holding neither the old items nor the new. Returns nothing when saved, the reason
// otherwise.
std::optional<std::string> overwriteInPlace(const std::filesystem::path& path,
                                            std::string_view bytes) {
    InPlaceFile file(path);
    std::uint64_t oldSize = 0;
    if (!file.isOpen() || !file.size(oldSize)) {
        return systemReason(file.error());
    }
    std::string kept(static_cast<std::size_t>(std::min<std::uint64_t>(
                         oldSize, std::max(bytes.size(), kMaxMenuFileBytes))),
                     '\0');
    if (!file.readAt(0, kept)) {
        return systemReason(file.error());
    }
    const bool written = file.writeAt(0, bytes) && file.flush();
    const bool cut = written && file.setLength(bytes.size());
    if (cut && file.flush()) {
        return std::nullopt;
    }
    std::string reason = systemReason(file.error());
    // Once cut, the old tail comes back only from a copy of the whole file.
    const bool restorable = !cut || kept.size() == oldSize;
    if (!(restorable && file.writeAt(0, kept) && file.setLength(oldSize) && file.flush())) {
        reason += "\nThe previous contents of the file could not be put back (" +
                  systemReason(file.error()) + "); the file may be incomplete.";
    }
    return reason;
}

// Whether a failed commit was a rename over the file that the system refused for lack of rights,
// such as a file in a shared folder that the user may write but not replace.
bool renameRefused(const QSaveFile& file) {
    if (file.error() != QFileDevice::RenameError) {
        return false;
    }
    const std::span<const int> codes = rightsRefusalCodes();
    return std::any_of(codes.begin(), codes.end(),
                       [&](int code) { return file.errorString() == qt_error_string(code); });
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

// Puts bytes into the file at path, replacing what it held. Through a temporary file where that
// keeps the file as it was, in place otherwise. Returns nothing when saved, the reason otherwise.
std::optional<std::string> save(const QString& path, std::string_view bytes) {
    const std::filesystem::path native = QFileInfo(path).filesystemFilePath();
    const ExistingFile existing = inspectExistingFile(native);
    const bool isFile = existing.exists && QFileInfo(path).isFile();
    if (isFile && !existing.replaceable) {
        // Renamed over, a file of another owner or group would become the saver's, a second
        // link would keep the old contents, and a symbolic link would become a plain file.
        return overwriteInPlace(native, bytes);
    }
    QSaveFile file(path);
    // Unbuffered, so that a write the disk takes only part of (a file-size limit, a quota) fails
    // here with its reason, instead of in the flush inside commit(), which does not notice a short
    // write and would put a truncated file in place of the previous one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        // A writable file in a folder the user may not create files in (a file handed over by
        // someone else) cannot get its temporary neighbour; it is then written in place, as any
        // editor would, rather than not at all.
        return isFile ? overwriteInPlace(native, bytes) : reasonOf(file);
    }
    if (isFile && !giveReplacementTheAttributesOf(file.handle(), existing)) {
        file.cancelWriting();
        return overwriteInPlace(native, bytes);
    }
    if (const std::optional<std::string> failure = saveAtomically(file, bytes)) {
        return isFile && renameRefused(file) ? overwriteInPlace(native, bytes) : failure;
    }
    return std::nullopt;
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
