// The eight formula pictures transforms1.wmf … transforms8.wmf: their conventions and bytes.
#pragma once

#include <cstdint>
#include <vector>

namespace quintrel::formula_pictures {

inline constexpr int kTransformsPictureCount = 8;

// What picture K depicts; K = 1 + 4·repetitive + 2·alternateNormalization + alternateSign.
struct PictureConventions {
    bool repetitive = false;              // Fourier series of a signal with period T
    bool alternateNormalization = false;  // 1/N on the inverse numerical transform
    bool alternateSign = false;           // +j in the forward (time → frequency) exponents
};

PictureConventions pictureConventions(int k);  // k in 1..8

// The placeable metafile of picture k: 10 × 4 inches (5760 × 2304 at 576 per inch), window
// extent 6001 × 2401. The same k always gives the same bytes.
std::vector<std::uint8_t> buildTransformsPicture(int k);

}  // namespace quintrel::formula_pictures
