// Plays metafile records into a Canvas: device-context state, object table, record decoding.
#pragma once

#include <chrono>
#include <cstddef>

#include "platform/wmf/wmf_canvas.h"
#include "platform/wmf/wmf_reader.h"

namespace quintrel::wmf {

struct PlayLimits {
    std::size_t maxRecords = kMaxRecords;
    std::chrono::milliseconds maxTime{500};  // wall-clock budget for one play
};

struct PlayReport {
    std::size_t recordsPlayed = 0;
    std::size_t recordsIgnored = 0;  // malformed, unknown or escape records skipped
    bool stoppedEarly = false;       // a limit ended the play before the last record
};

// Plays every record of `metafile` into `canvas`. Malformed records are skipped one by one;
// nothing in the file can make the play read out of bounds or run past `limits`.
PlayReport play(const Metafile& metafile, Canvas& canvas, const PlayLimits& limits = {});

}  // namespace quintrel::wmf
