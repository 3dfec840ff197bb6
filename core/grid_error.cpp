#include "core/grid_error.h"

#include <string_view>

namespace quintrel {

namespace {

struct QuantityText {
    std::string_view name;     // the quantity as the message names it
    std::string_view advice;   // what the user can change
    std::string_view divisor;  // for a quotient: what came out as zero
};

QuantityText textOf(GridQuantity quantity) {
    switch (quantity) {
        case GridQuantity::None:
            break;
        case GridQuantity::PointCount:
            return {"N", "Use a whole N from 4 to 32767.", {}};
        case GridQuantity::TypedTime:
            return {"Δt in seconds", "Use a smaller Δt or another unit.", {}};
        case GridQuantity::TypedFrequency:
            return {"Δf in hertz", "Use a smaller Δf or another unit.", {}};
        case GridQuantity::TimeProduct:
            return {"N·Δt", "Use a smaller Δt or another unit.", {}};
        case GridQuantity::FrequencyProduct:
            return {"N·Δf", "Use a smaller Δf or another unit.", {}};
        case GridQuantity::ComputedFrequency:
            return {"Δf = 1/(N·Δt)", "Use a larger Δt or another unit.", "N·Δt"};
        case GridQuantity::ComputedTime:
            return {"Δt = 1/(N·Δf)", "Use a larger Δf or another unit.", "N·Δf"};
        case GridQuantity::ShownTime:
            return {"Δt in the chosen time unit", "Choose another time unit.", {}};
        case GridQuantity::ShownFrequency:
            return {"Δf in the chosen frequency unit", "Choose another frequency unit.", {}};
        case GridQuantity::TimeGrid:
            return {"The time grid t_k = k·Δt in the chosen unit", "Choose another time unit.", {}};
        case GridQuantity::Period:
            return {"The period T = N·Δt in the chosen unit", "Choose another time unit.", {}};
        case GridQuantity::FrequencyGrid:
            return {"The frequency grid f_n = n·Δf in the chosen unit",
                    "Choose another frequency unit.",
                    {}};
    }
    return {"A result", "Check Δt, Δf and N.", {}};
}

std::string join(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (std::string_view part : parts) {
        out += part;
    }
    return out;
}

}  // namespace

std::string describe(GridError error, GridQuantity quantity) {
    const QuantityText q = textOf(quantity);
    switch (error) {
        case GridError::Overflow:
            if (quantity == GridQuantity::PointCount) {
                return "Overflow: N is too large for the frequency grid, which counts its points "
                       "in 16-bit whole numbers. Use a whole N from 4 to 32767.";
            }
            return join({"Overflow: ", q.name, " is beyond the range of double-precision numbers. ",
                         q.advice});
        case GridError::DivisionByZero:
            return join({"Division by zero: ", q.divisor.empty() ? q.name : q.divisor,
                         " is too small to be told from zero, so ", q.name, " has no value. ",
                         q.advice});
        case GridError::InvalidOperation:
            return join(
                {"Invalid floating-point operation: ", q.name, " is not a number. ", q.advice});
        case GridError::TypeMismatch:
            // Named by the field's quantity alone: the field holds the typed number.
            return join({"Type mismatch: the field for ",
                         quantity == GridQuantity::TypedTime        ? "Δt"
                         : quantity == GridQuantity::TypedFrequency ? "Δf"
                                                                    : q.name,
                         " does not hold a number. Correct it and try again."});
        case GridError::NoTimeUnit:
            return "No time unit is selected: the text in the unit list is none of s, ms, us, "
                   "ns, ps, fs. Choose a unit from the list.";
        case GridError::NoFrequencyUnit:
            return "No frequency unit is selected: the text in the unit list is none of Hz, KHz, "
                   "MHz, GHz, THz. Choose a unit from the list.";
    }
    return "Unknown failure.";
}

}  // namespace quintrel
