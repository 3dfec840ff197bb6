// The twelve items of a menu file, the parameter file that puts a grid aside and brings it back.
#pragma once

#include <cstdint>
#include <string>

namespace quintrel {

// One menu file's contents, in file order. Texts are UTF-8; numbers are in base units.
struct MenuItems {
    std::string Text1;           // item 1: Δt as shown or typed, in the chosen time unit
    std::string Text2;           // item 2: N as shown or typed
    std::string Text3;           // item 3: Δf as shown or typed, in the chosen frequency unit
    double TimeStep = 0.0;       // item 4: seconds
    double PointCount = 0.0;     // item 5
    double FrequencyStep = 0.0;  // item 6: hertz
    int TimeUnit = -1;           // item 7: index in TimeUnits, -1 for no selection
    int FrequencyUnit = -1;      // item 8: index in FrequencyUnits, -1 for no selection
    bool SinglePulse = false;    // item 9: "Y" when Option1(0) is selected
    int Check1 = 0;              // item 10: 0 cleared, 1 ticked, 2 greyed
    int Check2 = 0;              // item 11: likewise
    bool GridValid = false;      // item 12: "Y" when the stored grid belongs to the texts

    bool operator==(const MenuItems&) const = default;
};

inline constexpr int kMenuItemCount = 12;

}  // namespace quintrel
