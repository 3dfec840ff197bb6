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

// The reading steps up to holding item 12; returns item 12 or the error that stopped them.
MenuResult<bool> putItems(MenuItemReader& reader, GridWindow& window, GridState& state) {
    for (TextField field : {TextField::Text1, TextField::Text2, TextField::Text3}) {
        auto text = reader.readText();
        if (!text) {
            return text.error();
        }
        window.setText(field, text.value());
    }
    for (double* number : {&state.TimeStep, &state.PointCount, &state.FrequencyStep}) {
        auto value = reader.readNumber();
        if (!value) {
            return value.error();
        }
        *number = value.value();
    }
    auto timeUnit = reader.readListIndex(static_cast<int>(TimeUnits.size()));
    if (!timeUnit) {
        return timeUnit.error();
    }
    window.setSelectedIndex(UnitList::Combo1, timeUnit.value());
    auto frequencyUnit = reader.readListIndex(static_cast<int>(FrequencyUnits.size()));
    if (!frequencyUnit) {
        return frequencyUnit.error();
    }
    window.setSelectedIndex(UnitList::Combo2, frequencyUnit.value());

    auto singlePulse = reader.readFlag();
    if (!singlePulse) {
        return singlePulse.error();
    }
    // The other button is cleared before the chosen one is selected; selecting runs Option1_Click.
    const int chosen = singlePulse.value() ? 0 : 1;
    window.setOptionSelected(1 - chosen, false);
    window.setOptionSelected(chosen, true);

    for (CheckBox box : {CheckBox::Check1, CheckBox::Check2}) {
        auto checkState = reader.readCheckState();
        if (!checkState) {
            return checkState.error();
        }
        window.setCheckState(box, checkState.value());
    }
    return reader.readFlag();
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
