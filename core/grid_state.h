// The values that every handler of the main window shares: the grid, its validity and the
// current menu file.
#pragma once

#include <cstdint>
#include <string>

namespace quintrel {

// A 16-bit truth value as the stored state and menu files know it: true is -1.
inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

struct GridState {
    double TimeStep = 0.0;       // Δt in seconds
    double FrequencyStep = 0.0;  // Δf in hertz
    // N as last read by a transfer or from a menu file; a whole number 4…32767 whenever a
    // transfer can run, but a menu file may store anything a double holds.
    double PointCount = 0.0;
    // kTrue while TimeStep, FrequencyStep and PointCount belong to the texts on screen, so the
    // grid summary may be shown.
    std::int16_t GridValid = kFalse;
    std::int16_t SignalKind = 0;  // 0 single pulse, 1 repetitive signal
    std::string MenuFilePath;     // empty until a menu file is opened or saved
};

}  // namespace quintrel
