#include "core/grid_summary.h"

#include <cmath>

#include "core/number_text.h"
#include "core/units.h"

namespace quintrel {

std::optional<GridError> checkProduct(double result) {
    if (std::isnan(result)) {
        return GridError::InvalidOperation;
    }
    if (std::isinf(result)) {
        return GridError::Overflow;
    }
    return std::nullopt;
}

namespace {

// One number of a line: scale × (k × step), each product tested, then formatted with its unit.
class LineBuilder {
  public:
    LineBuilder(double scale, std::string_view unit, std::string_view separator)
        : m_scale(scale), m_unit(unit), m_separator(separator) {}

    // Appends F(scale × (k × step)) and the unit; false (and error() set) when a product fails.
    bool number(std::string& out, double k, double step) {
        const double inner = k * step;
        if ((m_error = checkProduct(inner))) {
            return false;
        }
        return scaled(out, inner);
    }
    // Appends F(scale × value) and the unit, for the terms whose inner factor is the step itself.
    bool scaled(std::string& out, double value) {
        const double shown = m_scale * value;
        if ((m_error = checkProduct(shown))) {
            return false;
        }
        out += FormatGeneral(shown, m_separator);
        out += m_unit;
        return true;
    }
    std::optional<GridError> error() const { return m_error; }

  private:
    double m_scale;
    std::string_view m_unit;
    std::string_view m_separator;
    std::optional<GridError> m_error;
};

}  // namespace

SummaryTexts buildSummary(const SummaryInputs& in) {
    SummaryTexts texts;
    const GridState& s = in.state;

    const std::optional<std::string_view> timeUnit = timeUnitText(in.timeUnit);
    if (!timeUnit) {
        texts.error = GridError::NoTimeUnit;
        return texts;
    }
    LineBuilder time(timeDisplayScale(in.timeUnit), *timeUnit, in.decimalSeparator);

    const auto fail = [&texts](std::optional<GridError> error, GridQuantity quantity) {
        texts.error = error;
        texts.quantity = quantity;
        return texts;
    };
    std::string line = "t_k = 0, ";
    if (!time.scaled(line, s.TimeStep)) {
        return fail(time.error(), GridQuantity::TimeGrid);
    }
    line += ", ..., ";
    if (!time.number(line, s.PointCount - 1.0, s.TimeStep)) {
        return fail(time.error(), GridQuantity::TimeGrid);
    }
    texts.timeGrid = std::move(line);

    line.clear();
    if (in.repetitive) {
        line = "T = ";
        if (!time.number(line, s.PointCount, s.TimeStep)) {
            return fail(time.error(), GridQuantity::Period);
        }
    }
    texts.period = std::move(line);

    const std::optional<std::string_view> frequencyUnit = frequencyUnitText(in.frequencyUnit);
    if (!frequencyUnit) {
        texts.error = GridError::NoFrequencyUnit;
        return texts;
    }
    LineBuilder frequency(frequencyDisplayScale(in.frequencyUnit), *frequencyUnit,
                          in.decimalSeparator);

    // M is the largest whole number below N/2, held as a 16-bit integer like N itself; an N
    // beyond what a transfer accepts (only a menu file can bring one) may not fit.
    const double half = s.PointCount / 2.0;
    const bool even = half == std::floor(half);
    const std::optional<std::int16_t> m = roundToInt16(even ? half - 1.0 : std::floor(half));
    const std::optional<std::int16_t> mPlusOne =
        m ? roundToInt16(static_cast<double>(*m) + 1.0) : std::nullopt;
    if (!m || (even && !mPlusOne)) {
        return fail(GridError::Overflow, GridQuantity::PointCount);
    }
    const double M = static_cast<double>(*m);

    std::string nyquist;
    if (even) {
        nyquist = ", ";
        if (!frequency.number(nyquist, static_cast<double>(*mPlusOne), s.FrequencyStep)) {
            return fail(frequency.error(), GridQuantity::FrequencyGrid);
        }
    }
    line = "f_n = 0, ";
    bool built = frequency.scaled(line, s.FrequencyStep);
    if (built) {
        line += ", ..., ";
        built = frequency.number(line, M, s.FrequencyStep);
    }
    if (built) {
        line += nyquist;
        line += ", ";
        built = frequency.number(line, -M, s.FrequencyStep);
    }
    if (built) {
        line += ", ..., ";
        built = frequency.scaled(line, -s.FrequencyStep);
    }
    if (!built) {
        return fail(frequency.error(), GridQuantity::FrequencyGrid);
    }
    texts.frequencyGrid = std::move(line);
    return texts;
}

}  // namespace quintrel
