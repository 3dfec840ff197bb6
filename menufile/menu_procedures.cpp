#include "menufile/menu_procedures.h"

#include "core/units.h"
#include "menufile/menu_reader.h"

namespace quintrel {

MenuItems captureMenuItems(const GridWindow& window, const GridState& state) {
    MenuItems items;
    items.Text1 = window.text(TextField::Text1);
    items.Text2 = window.text(TextField::Text2);
    items.Text3 = window.text(TextField::Text3);
    items.TimeStep = state.TimeStep;
    items.PointCount = state.PointCount;
    items.FrequencyStep = state.FrequencyStep;
    items.TimeUnit = window.selectedIndex(UnitList::Combo1);
    items.FrequencyUnit = window.selectedIndex(UnitList::Combo2);
    items.SinglePulse = window.isOptionSelected(0);
    items.Check1 = window.checkState(CheckBox::Check1);
    items.Check2 = window.checkState(CheckBox::Check2);
    items.GridValid = state.GridValid != kFalse;
    return items;
}

namespace {

// Puts item `number` (1-based), just read into items, into its place. Item 12 is only held.
void putItem(int number, const MenuItems& items, GridWindow& window, GridState& state) {
    switch (number) {
        case 1:
            return window.setText(TextField::Text1, items.Text1);
        case 2:
            return window.setText(TextField::Text2, items.Text2);
        case 3:
            return window.setText(TextField::Text3, items.Text3);
        case 4:
            state.TimeStep = items.TimeStep;
            return;
        case 5:
            state.PointCount = items.PointCount;
            return;
        case 6:
            state.FrequencyStep = items.FrequencyStep;
            return;
        case 7:
            return window.setSelectedIndex(UnitList::Combo1, items.TimeUnit);
        case 8:
            return window.setSelectedIndex(UnitList::Combo2, items.FrequencyUnit);
        case 9: {
            // The other button is cleared before the chosen one is selected; selecting runs
            // Option1_Click.
            const int chosen = items.SinglePulse ? 0 : 1;
            window.setOptionSelected(1 - chosen, false);
            return window.setOptionSelected(chosen, true);
        }
        case 10:
            return window.setCheckState(CheckBox::Check1, items.Check1);
        case 11:
            return window.setCheckState(CheckBox::Check2, items.Check2);
        default:
            return;
    }
}

// The reading steps up to holding item 12; returns item 12 or the error that stopped them.
MenuResult<bool> putItems(MenuItemReader& reader, GridWindow& window, GridState& state) {
    MenuItems items;
    for (int number = 1; number <= kMenuItemCount; ++number) {
        if (auto read =
                reader.readInto(kMenuItemSlots[static_cast<std::size_t>(number - 1)], items);
            !read) {
            return read.error();
        }
        putItem(number, items, window, state);
    }
    return items.GridValid;
}

}  // namespace

MenuLoad putMenuFile(std::string_view bytes, GridWindow& window, GridHandlers& handlers,
                     GridState& state) {
    MenuItemReader reader(bytes);
    const MenuResult<bool> gridValid = putItems(reader, window, state);
    MenuLoad load;
    if (!gridValid) {
        load.error = gridValid.error();
        state.GridValid = kFalse;
        return load;
    }
    handlers.CheckInputs();
    state.GridValid = gridValid.value() ? kTrue : kFalse;
    load.summary = handlers.ShowGrids();
    return load;
}

}  // namespace quintrel
