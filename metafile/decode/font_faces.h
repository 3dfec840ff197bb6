// Which installed face stands in for a face named in a metafile (the metric twins).
#pragma once

#include <string>
#include <string_view>

namespace quintrel::wmf {

inline constexpr std::string_view kSansTwin = "Liberation Sans";
inline constexpr std::string_view kSerifTwin = "Liberation Serif";
inline constexpr std::string_view kMonoTwin = "Liberation Mono";
inline constexpr std::string_view kSymbolTwin = "Standard Symbols PS";

// "Arial" → Liberation Sans, "Times New Roman" → Liberation Serif, "Symbol" → Standard
// Symbols PS, "Courier New" → Liberation Mono (case-insensitive); other names unchanged.
std::string twinFace(std::string_view face);

}  // namespace quintrel::wmf
