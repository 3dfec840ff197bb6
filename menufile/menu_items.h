// The twelve items of a menu file, the parameter file that puts a grid aside and brings it back.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>

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

// How an item is read, and what range its value must lie in.
enum class MenuItemKind {
    Text,           // a text, quoted or not
    Number,         // a double; a text that is no number reads as 0
    TimeUnit,       // an integer: -1 or an index of TimeUnits
    FrequencyUnit,  // an integer: -1 or an index of FrequencyUnits
    Flag,           // true exactly for "Y"
    CheckState,     // an integer: 0, 1 or 2
};

// One item of the file: its kind and the member of MenuItems that holds it.
struct MenuItemSlot {
    MenuItemKind kind;
    std::variant<std::string MenuItems::*, double MenuItems::*, int MenuItems::*, bool MenuItems::*>
        member;
};

// The twelve items in file order; the reader, and the loading into the window, walk this table.
inline constexpr std::array<MenuItemSlot, kMenuItemCount> kMenuItemSlots = {{
    {MenuItemKind::Text, &MenuItems::Text1},
    {MenuItemKind::Text, &MenuItems::Text2},
    {MenuItemKind::Text, &MenuItems::Text3},
    {MenuItemKind::Number, &MenuItems::TimeStep},
    {MenuItemKind::Number, &MenuItems::PointCount},
    {MenuItemKind::Number, &MenuItems::FrequencyStep},
    {MenuItemKind::TimeUnit, &MenuItems::TimeUnit},
    {MenuItemKind::FrequencyUnit, &MenuItems::FrequencyUnit},
    {MenuItemKind::Flag, &MenuItems::SinglePulse},
    {MenuItemKind::CheckState, &MenuItems::Check1},
    {MenuItemKind::CheckState, &MenuItems::Check2},
    {MenuItemKind::Flag, &MenuItems::GridValid},
}};

}  // namespace quintrel
