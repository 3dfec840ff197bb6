#include "core/units.h"

#include <array>
#include <cstddef>
#include <limits>

namespace quintrel {

namespace {

// 10^(3k) for k = -5 … 5, written as decimal literals: each is the double nearest the exact power,
// which std::pow does not promise (mingw-w64's pow(10, -9) is several units in the last place off,
// and 7 ns would show as 7.00000000000001ns).
constexpr std::array<double, 11> kThousands = {1e-15, 1e-12, 1e-9, 1e-6, 1e-3, 1.0,
                                               1e3,   1e6,   1e9,  1e12, 1e15};
constexpr int kThousandsOffset = 5;

// 10^(3·steps); steps beyond the table (only an index past both unit tables) give NaN, which every
// caller's product test reports as an invalid operation.
double powerOfThousand(int steps) {
    if (steps < -kThousandsOffset || steps > kThousandsOffset) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return kThousands[static_cast<std::size_t>(steps + kThousandsOffset)];
}

template <std::size_t Size>
std::optional<std::string_view> entry(const std::array<std::string_view, Size>& table, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= Size) {
        return std::nullopt;
    }
    return table[static_cast<std::size_t>(index)];
}

}  // namespace

double timeInputScale(int i) {
    return powerOfThousand(-i);
}
double timeDisplayScale(int i) {
    return powerOfThousand(i);
}
double frequencyInputScale(int j) {
    return powerOfThousand(j);
}
double frequencyDisplayScale(int j) {
    return powerOfThousand(-j);
}

std::optional<std::string_view> timeUnitText(int i) {
    return entry(TimeUnits, i);
}
std::optional<std::string_view> frequencyUnitText(int j) {
    return entry(FrequencyUnits, j);
}

}  // namespace quintrel
