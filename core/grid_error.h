// Why a grid operation stopped. Every failure of the calculator reaches the window as one of
// these values; nothing is thrown and no NaN or infinity is ever stored or shown.
#pragma once

#include <optional>
#include <string_view>

namespace quintrel {

enum class GridError {
    Overflow,          // a product or quotient lies beyond the double range
    DivisionByZero,    // 1 / (spacing × N) with a product that is exactly zero (underflow)
    InvalidOperation,  // a result that is not a number, such as 0 × infinity
    TypeMismatch,      // a field text that is not a number reached a transfer
    NoTimeUnit,        // the time-unit list has no selection (index -1)
    NoFrequencyUnit,   // the frequency-unit list has no selection (index -1)
};

// The sentence a message box shows for the failure.
std::string_view describe(GridError error);

// The outcome of one handler: success, or the failure that stopped it at some step.
class [[nodiscard]] GridResult {
  public:
    GridResult() = default;
    GridResult(GridError error) : m_error(error) {}  // NOLINT: implicit on purpose

    bool ok() const { return !m_error.has_value(); }
    explicit operator bool() const { return ok(); }
    // Only meaningful when !ok().
    GridError error() const { return *m_error; }

  private:
    std::optional<GridError> m_error;
};

}  // namespace quintrel
