// Plays metafile records into a Canvas: device-context state, object table, record decoding.
#pragma once

#include <cstddef>

#include "metafile/format/wmf_reader.h"
#include "metafile/player/wmf_canvas.h"

namespace quintrel::wmf {

// What one play may do, counted so that what is drawn never depends on the machine. Work is
// counted in units, about 8000 to a millisecond of painting at the size of the main window's
// picture box: every drawing call costs kCallWork, every point or region rectangle one unit,
// every character kCharWork; covering the whole picture costs kFrameWork more (in proportion
// for smaller shapes, kTextureWork times that with a hatch or pattern); outlines cost by how
// often their edges cross a line (see kMaxSmoothCrossings); a bitmap costs one unit per
// kPixelsPerWork pixels it decodes. Every change of the clip costs a call, a unit for each of
// its rectangles, kClipRectWork for each the canvas gets and their edges as an antialiased
// outline's; under a clip, drawing costs kClipLineWork more for each frame height of clip
// rectangles its lines cross.
struct PlayLimits {
    std::size_t maxRecords = kMaxRecords;
    std::size_t maxWork = kMaxPlayWork;
};

inline constexpr double kCallWork = 20;
inline constexpr double kCharWork = 20;
inline constexpr double kFrameWork = 2000;
inline constexpr double kTextureWork = 16;
inline constexpr double kPixelsPerWork = 2;
inline constexpr double kClipRectWork = 10;
inline constexpr double kClipLineWork = 120;

struct PlayReport {
    std::size_t recordsPlayed = 0;
    std::size_t recordsIgnored = 0;  // malformed, unknown or escape records skipped
    std::size_t work = 0;            // units of work spent
    bool stoppedEarly = false;       // a limit ended the play before the last record
};

// Plays every record of `metafile` into `canvas`. Malformed records are skipped one by one;
// nothing in the file can make the play read out of bounds or run past `limits`.
PlayReport play(const Metafile& metafile, Canvas& canvas, const PlayLimits& limits = {});

}  // namespace quintrel::wmf
