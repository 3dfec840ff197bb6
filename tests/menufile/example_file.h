// The example menu file: Δt 1 ns, N 8, Δf shown as 125 MHz after ">>", repetitive signal,
// Check2 ticked, grid valid.
#pragma once

#include <string>
#include <string_view>

#include "menufile/menu_items.h"

namespace quintrel::testing {

inline constexpr std::string_view kExampleFile =
    "\"1\"\r\n\"8\"\r\n\"125\"\r\n1E-"
    "09\r\n8\r\n125000000\r\n3\r\n2\r\n\"N\"\r\n0\r\n1\r\n\"Y\"\r\n";

// What a window in its start state saves: three empty texts, no grid, "ns" and "GHz".
inline constexpr std::string_view kStartStateFile =
    "\"\"\r\n\"\"\r\n\"\"\r\n0\r\n0\r\n0\r\n3\r\n3\r\n\"N\"\r\n0\r\n0\r\n\"N\"\r\n";

inline MenuItems exampleItems() {
    MenuItems items;
    items.Text1 = "1";
    items.Text2 = "8";
    items.Text3 = "125";
    items.TimeStep = 1e-9;
    items.PointCount = 8;
    items.FrequencyStep = 125000000;
    items.TimeUnit = 3;
    items.FrequencyUnit = 2;
    items.SinglePulse = false;
    items.Check1 = 0;
    items.Check2 = 1;
    items.GridValid = true;
    return items;
}

// The example with one line replaced (lines numbered from 1).
inline std::string exampleWithLine(int line, std::string_view replacement) {
    std::string out;
    std::size_t pos = 0;
    for (int k = 1; k <= kMenuItemCount; ++k) {
        const std::size_t end = kExampleFile.find("\r\n", pos);
        out += k == line ? replacement : kExampleFile.substr(pos, end - pos);
        out += "\r\n";
        pos = end + 2;
    }
    return out;
}

}  // namespace quintrel::testing
