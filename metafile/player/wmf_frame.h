// The frame of a metafile without a placeable header, and reading a picture ready to play.
#pragma once

#include <cstdint>
#include <span>

#include "metafile/format/wmf_reader.h"

namespace quintrel::wmf {

// For a file without a placeable header: the frame from the first SETVIEWPORTEXT (at the
// SETVIEWPORTORG before it), else from the first SETWINDOWEXT (at the SETWINDOWORG before
// it), else from the extent of what the records draw. False when none gives an area.
bool findFrame(Metafile& metafile);

// readMetafile, then the frame of a file without a placeable header. A file whose records give
// no frame fails with EmptyBounds at its META_EOF record.
ReadResult readPicture(std::span<const std::uint8_t> bytes);

}  // namespace quintrel::wmf
