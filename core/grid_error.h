// Why a grid operation stopped, and what it was computing. Every failure of the calculator
// reaches the window as one of these values; nothing is thrown and no NaN or infinity is ever
// stored or shown.
#pragma once

#include <optional>
#include <string>

namespace quintrel {

enum class GridError {
    Overflow,          // a product or quotient lies beyond the double range
    DivisionByZero,    // 1 / (spacing × N) with a product that is exactly zero (underflow)
    InvalidOperation,  // a result that is not a number, such as 0 × infinity
    TypeMismatch,      // a field text that is not a number reached a transfer
    NoTimeUnit,        // the time-unit list has no selection (index -1)
    NoFrequencyUnit,   // the frequency-unit list has no selection (index -1)
};

// The quantity the failing step was computing, so the message can name it and say what to do.
enum class GridQuantity {
    None,               // no single quantity: a unit list without selection
    PointCount,         // N, from Text2 or a menu file
    TypedTime,          // Δt in seconds: the typed Δt times its unit
    TypedFrequency,     // Δf in hertz: the typed Δf times its unit
    TimeProduct,        // N·Δt, the divisor of ">>"
    FrequencyProduct,   // N·Δf, the divisor of "<<"
    ComputedFrequency,  // Δf = 1/(N·Δt)
    ComputedTime,       // Δt = 1/(N·Δf)
    ShownTime,          // Δt in the chosen time unit
    ShownFrequency,     // Δf in the chosen frequency unit
    TimeGrid,           // a point of t_k = k·Δt in the chosen unit
    Period,             // T = N·Δt in the chosen unit
    FrequencyGrid,      // a point of f_n = n·Δf in the chosen unit
};

// The message a box shows for the failure: what failed, which quantity, and what to do, as in
// "Overflow: Δf = 1/(N·Δt) is beyond the range of double-precision numbers. Use a larger Δt or
// another unit." (UTF-8)
std::string describe(GridError error, GridQuantity quantity = GridQuantity::None);

// The outcome of one handler: success, or the failure that stopped it at some step.
class [[nodiscard]] GridResult {
  public:
    GridResult() = default;
    GridResult(GridError error, GridQuantity quantity = GridQuantity::None)  // NOLINT: implicit
        : m_failure(Failure{error, quantity}) {}

    bool ok() const { return !m_failure.has_value(); }
    explicit operator bool() const { return ok(); }
    // Only meaningful when !ok().
    GridError error() const { return m_failure->error; }
    GridQuantity quantity() const { return m_failure->quantity; }
    std::string message() const { return describe(error(), quantity()); }

  private:
    struct Failure {
        GridError error;
        GridQuantity quantity;
    };
    std::optional<Failure> m_failure;
};

}  // namespace quintrel
