#include "core/grid_error.h"

namespace quintrel {

std::string_view describe(GridError error) {
    switch (error) {
        case GridError::Overflow:
            return "Overflow: a result lies beyond the range of double-precision numbers.";
        case GridError::DivisionByZero:
            return "Division by zero: the product of spacing and number of points is zero.";
        case GridError::InvalidOperation:
            return "Invalid floating-point operation: a result is not a number.";
        case GridError::TypeMismatch:
            return "Type mismatch: a field does not hold a number.";
        case GridError::NoTimeUnit:
            return "No time unit is selected. Choose a unit from the list.";
        case GridError::NoFrequencyUnit:
            return "No frequency unit is selected. Choose a unit from the list.";
    }
    return "Unknown failure.";
}

}  // namespace quintrel
