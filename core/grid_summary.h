// The three lines of the grid summary: time grid, period and frequency grid in the order a
// discrete Fourier transform returns it.
#pragma once

#include <optional>
#include <string>

#include "core/grid_error.h"
#include "core/grid_state.h"

namespace quintrel {

// The products below each fail on overflow, division by zero or an invalid result. tested()
// checkProduct classifies a result: finite passes, underflow to zero or a denormal included.
std::optional<GridError> checkProduct(double result);

struct SummaryInputs {
    const GridState& state;
    int timeUnit;       // index into TimeUnits, -1 for none
    int frequencyUnit;  // index into FrequencyUnits, -1 for none
    bool repetitive;    // Option1(1) selected: the period line is shown
    std::string_view decimalSeparator;
};

// The texts in the order they are written: Label2, Label6, Label5. A failure stops the building
// at that line: the lines before it are present, it and the later ones are not.
struct SummaryTexts {
    std::optional<std::string> timeGrid;       // Label2
    std::optional<std::string> period;         // Label6 (empty text for a single pulse)
    std::optional<std::string> frequencyGrid;  // Label5
    std::optional<GridError> error;
    GridQuantity quantity = GridQuantity::None;  // the line that failed
};

SummaryTexts buildSummary(const SummaryInputs& in);

}  // namespace quintrel
