#include "core/units.h"

#include <cmath>
#include <cstddef>

namespace quintrel {

namespace {

double powerOfTen(int index, double perStep) {
    return std::pow(10.0, static_cast<double>(index) * perStep);
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
    return powerOfTen(i, -3.0);
}
double timeDisplayScale(int i) {
    return powerOfTen(i, 3.0);
}
double frequencyInputScale(int j) {
    return powerOfTen(j, 3.0);
}
double frequencyDisplayScale(int j) {
    return powerOfTen(j, -3.0);
}

std::optional<std::string_view> timeUnitText(int i) {
    return entry(TimeUnits, i);
}
std::optional<std::string_view> frequencyUnitText(int j) {
    return entry(FrequencyUnits, j);
}

}  // namespace quintrel
