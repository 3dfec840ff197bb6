// The table of the eight formula pictures, written down once for the tests: which sign, which
// normalization and which variable assignment picture K shows.
#pragma once

#include <array>

namespace quintrel {

// x′ₙ ≅ (this) · x(fₙ)
enum class Assignment { DeltaF, OverDeltaT, Unit, TimesN };

struct TransformRow {
    bool repetitive;          // Fourier series of a periodic signal (K = 5…8)
    int forwardSign;          // sign of j in every time → frequency exponent
    bool forwardHasOneOverN;  // 1/N on x′ₙ = … rather than on X′ₖ = …
    Assignment assignment;
};

inline const TransformRow& transformRow(int k) {
    static const std::array<TransformRow, 8> kRows = {{
        {false, -1, true, Assignment::DeltaF},
        {false, +1, true, Assignment::DeltaF},
        {false, -1, false, Assignment::OverDeltaT},
        {false, +1, false, Assignment::OverDeltaT},
        {true, -1, true, Assignment::Unit},
        {true, +1, true, Assignment::Unit},
        {true, -1, false, Assignment::TimesN},
        {true, +1, false, Assignment::TimesN},
    }};
    return kRows.at(static_cast<std::size_t>(k - 1));
}

}  // namespace quintrel
