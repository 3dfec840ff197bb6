// The window side of menu files, without any file access: taking the items to write from the
// window and GridState, and putting read items into them in the order the reader must keep.
#pragma once

#include <optional>
#include <string_view>

#include "core/grid_error.h"
#include "core/grid_handlers.h"
#include "core/grid_state.h"
#include "core/grid_window.h"
#include "menufile/menu_error.h"
#include "menufile/menu_items.h"

namespace quintrel {

// The twelve items for the window's current state. Changes nothing.
MenuItems captureMenuItems(const GridWindow& window, const GridState& state);

struct MenuLoad {
    std::optional<MenuError> error;  // the read error that stopped the loading, if any
    GridResult summary;              // what the closing ShowGrids returned (ok after an error)
};

// Reads the items of a menu file's bytes and puts each one into its place as soon as it is read,
// every control change through the window's setters so that its handlers run to their end:
//   Text1, Text2, Text3 (each write runs CheckInputs, which withdraws the grid before the lists
//   are set); TimeStep, PointCount, FrequencyStep as they stand; Combo1, Combo2; Option1 (the other
//   button cleared first); Check1, Check2; item 12 held.
// Then CheckInputs, GridValid from item 12 (after CheckInputs, which clears it) and ShowGrids.
// On a read error it stops at the failing item: what was put before stays, GridValid is false,
// and CheckInputs and ShowGrids do not run.
MenuLoad putMenuFile(std::string_view bytes, GridWindow& window, GridHandlers& handlers,
                     GridState& state);

}  // namespace quintrel
