// The time and frequency unit tables behind the two unit lists, and their scales.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace quintrel {

inline constexpr std::array<std::string_view, 6> TimeUnits = {"s", "ms", "us", "ns", "ps", "fs"};
inline constexpr std::array<std::string_view, 5> FrequencyUnits = {"Hz", "KHz", "MHz", "GHz",
                                                                   "THz"};

// The list index selected at start-up in both lists: "ns" and "GHz".
inline constexpr int kStartUnitIndex = 3;

// Scales are the exact powers 10^(±3·index), from a table of decimal literals.
// Time index i: typed value × timeInputScale(i) = seconds; seconds × timeDisplayScale(i) = shown.
double timeInputScale(int i);    // 10^(-3i)
double timeDisplayScale(int i);  // 10^(3i)
// Frequency index j: typed value × frequencyInputScale(j) = hertz, and back.
double frequencyInputScale(int j);    // 10^(3j)
double frequencyDisplayScale(int j);  // 10^(-3j)

// The entry text for a list index, or nothing for -1 (no selection) or any index past the table.
std::optional<std::string_view> timeUnitText(int i);
std::optional<std::string_view> frequencyUnitText(int j);

}  // namespace quintrel
