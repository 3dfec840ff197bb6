#include "core/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace quintrel {

namespace {

// Blanks around a number: what a paste from a terminal or a spreadsheet brings along.
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Copies the digits at text[pos…) to out; returns how many there were.
std::size_t takeDigits(std::string_view text, std::size_t& pos, std::string& out) {
    const std::size_t start = pos;
    while (pos < text.size() && isDigit(text[pos])) {
        out.push_back(text[pos]);
        ++pos;
    }
    return pos - start;
}

// Beyond this an exponent only pushes further in the direction of its sign: no text that fits in
// memory has enough digits to pull the value back from 10^(±10^15).
constexpr long long kExponentCap = 1'000'000'000'000'000LL;

// The decimal exponent of the first significant digit of a number that from_chars found beyond
// the double's range in one direction or the other. plain is the C form built by readNumber:
// '-'? digits ('.' digits)? ('e' [+-]? digits)?, with the mantissa at [mantissaBegin,
// mantissaEnd).
long long decimalMagnitude(std::string_view plain, std::size_t mantissaBegin,
                           std::size_t mantissaEnd) {
    const std::string_view mantissa = plain.substr(mantissaBegin, mantissaEnd - mantissaBegin);
    const std::size_t firstSignificant = mantissa.find_first_not_of("0.");
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    // The digit's own position: 123.4 is 10^2, 0.0012 is 10^-3.
    const long long position = firstSignificant < point
                                   ? static_cast<long long>(point - firstSignificant) - 1
                                   : -static_cast<long long>(firstSignificant - point);
    long long exponent = 0;
    bool exponentNegative = false;
    for (std::size_t k = mantissaEnd + 1; k < plain.size(); ++k) {
        if (plain[k] == '-') {
            exponentNegative = true;
        } else if (isDigit(plain[k])) {
            exponent = std::min(kExponentCap, exponent * 10 + (plain[k] - '0'));
        }
    }
    return (exponentNegative ? -exponent : exponent) + position;
}

}  // namespace

NumberReading readNumber(std::string_view text, std::string_view decimalSeparator) {
    if (decimalSeparator.empty()) {
        decimalSeparator = ".";
    }
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    const std::string_view body = text.substr(begin, end - begin);
    constexpr NumberReading kNotANumber{NumberStatus::NotANumber, 0.0};

    // Rebuild the number in the C form that from_chars reads: '-'? digits '.' digits 'e' ...
    std::string plain;
    plain.reserve(body.size() + 1);
    std::size_t pos = 0;
    const bool negative = pos < body.size() && body[pos] == '-';
    if (pos < body.size() && (body[pos] == '+' || body[pos] == '-')) {
        if (negative) {
            plain.push_back('-');
        }
        ++pos;
    }
    const std::size_t mantissaBegin = plain.size();
    const std::size_t intDigits = takeDigits(body, pos, plain);
    std::size_t fracDigits = 0;
    if (body.substr(pos).starts_with(decimalSeparator)) {
        pos += decimalSeparator.size();
        plain.push_back('.');
        fracDigits = takeDigits(body, pos, plain);
    }
    if (intDigits + fracDigits == 0) {
        return kNotANumber;
    }
    const std::size_t mantissaEnd = plain.size();
    if (pos < body.size() && (body[pos] == 'e' || body[pos] == 'E')) {
        ++pos;
        plain.push_back('e');
        if (pos < body.size() && (body[pos] == '+' || body[pos] == '-')) {
            plain.push_back(body[pos]);
            ++pos;
        }
        if (takeDigits(body, pos, plain) == 0) {
            return kNotANumber;
        }
    }
    if (pos != body.size()) {
        return kNotANumber;
    }

    double value = 0.0;
    const char* first = plain.data();
    const char* last = plain.data() + plain.size();
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // from_chars reports underflow to zero and overflow alike. An underflow is a legitimate
        // tiny number and reads as zero; an overflow is beyond what a double holds.
        if (decimalMagnitude(plain, mantissaBegin, mantissaEnd) < 0) {
            return {NumberStatus::Ok, negative ? -0.0 : 0.0};
        }
        return {NumberStatus::OutOfRange, 0.0};
    }
    if (ec != std::errc() || ptr != last) {
        return kNotANumber;
    }
    if (!std::isfinite(value)) {
        return {NumberStatus::OutOfRange, 0.0};
    }
    return {NumberStatus::Ok, value};
}

std::optional<double> ParseNumber(std::string_view text, std::string_view decimalSeparator) {
    const NumberReading reading = readNumber(text, decimalSeparator);
    if (reading.status != NumberStatus::Ok) {
        return std::nullopt;
    }
    return reading.value;
}

bool isNumeric(std::string_view text, std::string_view decimalSeparator) {
    return ParseNumber(text, decimalSeparator).has_value();
}

std::string FormatGeneral(double value, std::string_view decimalSeparator) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "Infinity" : "-Infinity";
    }
    if (value == 0.0) {
        return "0";  // also for -0: a minus sign on zero would only confuse
    }
    constexpr int kDigits = 15;
    // The largest 15-digit number a double holds. Rounding anything above it to 15 digits
    // (1.79769313486232E+308) would give a text no reader can take back, so those few values
    // are written as this one instead.
    constexpr double kLargest15Digits = 1.79769313486231e308;
    if (std::fabs(value) > kLargest15Digits) {
        value = std::copysign(kLargest15Digits, value);
    }
    // to_chars in general form with precision 15 is exactly C's "%.15g": the 15-digit rounding,
    // the choice of fixed or exponent form, no trailing zeros, and exponents of at least two
    // digits ("1e-09"). What is left is the capital E and the locale's separator.
    std::array<char, 40> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, kDigits);
    std::string out;
    out.reserve(static_cast<std::size_t>(result.ptr - buffer.data()) + decimalSeparator.size());
    for (const char* c = buffer.data(); c != result.ptr; ++c) {
        if (*c == '.') {
            out += decimalSeparator;
        } else {
            out.push_back(*c == 'e' ? 'E' : *c);
        }
    }
    return out;
}

std::optional<std::int16_t> roundToInt16(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    // Halves go to the even neighbour; the difference below is exact for |value| < 2^52, and
    // larger values are whole already (and far outside the range).
    const double below = std::floor(value);
    const double fraction = value - below;
    double rounded = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) {
        rounded = below + 1.0;
    }
    if (rounded < -32768.0 || rounded > 32767.0) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(rounded);
}

bool whole16(std::string_view text, std::string_view decimalSeparator) {
    const std::optional<double> value = ParseNumber(text, decimalSeparator);
    if (!value) {
        return false;
    }
    const std::optional<std::int16_t> rounded = roundToInt16(*value);
    return rounded && static_cast<double>(*rounded) == *value;
}

}  // namespace quintrel
