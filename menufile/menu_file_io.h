// ReadMenuFile and WriteMenuFile: a menu file on disk into the window and back.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "core/grid_handlers.h"
#include "core/grid_state.h"
#include "core/grid_window.h"
#include "menufile/file_commands.h"

namespace quintrel {

// Reads the file at state.MenuFilePath into the window and GridState (see putMenuFile). On any
// failure it reports "Error reading from menu file " followed by the path, with the reason (the
// system's, or the item that could not be read and why), and sets GridValid false; what was
// already put into the window stays. A failure of the closing ShowGrids is a calculation failure,
// shown with its own sentence and the warning icon. Only the first kMaxMenuFileBytes bytes are
// ever read.
void ReadMenuFile(GridWindow& window, GridHandlers& handlers, GridState& state,
                  MessageReporter& reporter);

// Writes the window's state to state.MenuFilePath through a temporary file that replaces the
// target only once complete, so a failed or interrupted save leaves the previous file intact.
// Where a replacement could not keep the file as it was (another user's file, or one with a second
// link) or the folder allows none (no new files, or no renaming over this one), an existing file
// is written in place and flushed to the disk, and a write that fails puts the previous bytes
// back. On failure it reports "Error writing to menu file " followed by the path, with the
// system's reason, and a notice when the previous bytes could not be put back. Changes nothing
// else. Returns whether the file was written.
bool WriteMenuFile(const GridWindow& window, const GridState& state, MessageReporter& reporter);

// The first bytes of a file, or why there are none.
struct FilePrefix {
    std::optional<std::string> bytes;  // nothing when the file could not be read
    std::string reason;                // then the system's reason, such as "Permission denied"
};

// At most maxBytes bytes from the start of the regular file at path (UTF-8); nothing when it is
// missing, is no regular file (a folder, a device, a pipe that would block) or cannot be read.
FilePrefix readFilePrefix(const std::string& path, std::size_t maxBytes);

}  // namespace quintrel
