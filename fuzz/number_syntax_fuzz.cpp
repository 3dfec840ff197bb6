// Fuzzes the number syntax: the numeric test and ParseNumber must agree, blanks and line ends
// around a text change nothing, and every finite value must survive FormatGeneral -> ParseNumber
// as its 15-digit rounding.
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "core/number_text.h"

namespace {

double roundTo15Digits(double value) {
    std::array<char, 40> buffer{};
    auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                             std::chars_format::scientific, 14)
                   .ptr;
    double rounded = 0.0;
    if (std::from_chars(buffer.data(), end, rounded).ec != std::errc()) {
        // Rounded past the double range: the formatter writes the largest 15-digit value.
        return std::copysign(1.79769313486231e308, value);
    }
    return rounded;
}

void checkRoundTrip(double value, std::string_view separator) {
    if (!std::isfinite(value)) {
        return;
    }
    const std::string text = quintrel::FormatGeneral(value, separator);
    const auto back = quintrel::ParseNumber(text, separator);
    if (!back || !quintrel::isNumeric(text, separator)) {
        std::abort();
    }
    const double expected = roundTo15Digits(value);
    // Rounding to 15 digits can carry to infinity only past DBL_MAX, which to_chars avoids; and
    // zero prints as "0" whatever its sign.
    if (*back != expected && !(expected == 0.0 && *back == 0.0)) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (std::string_view separator : {".", ","}) {
        const auto value = quintrel::ParseNumber(text, separator);
        if (value.has_value() != quintrel::isNumeric(text, separator)) {
            std::abort();
        }
        // A paste from a terminal or a spreadsheet reads as the number it carries.
        const quintrel::NumberReading plain = quintrel::readNumber(text, separator);
        const quintrel::NumberReading pasted =
            quintrel::readNumber(" \r\n\t" + std::string(text) + "\r\n", separator);
        if (plain.status != pasted.status ||
            (plain.status == quintrel::NumberStatus::Ok && plain.value != pasted.value)) {
            std::abort();
        }
        if (value) {
            checkRoundTrip(*value, separator);
            (void)quintrel::whole16(text, separator);
        }
    }
    // Raw bit patterns reach the formatter too: denormals, extremes, every exponent.
    if (size >= sizeof(double)) {
        double raw = 0.0;
        std::memcpy(&raw, data, sizeof raw);
        checkRoundTrip(raw, ".");
        checkRoundTrip(raw, ",");
        (void)quintrel::roundToInt16(raw);
    }
    return 0;
}
