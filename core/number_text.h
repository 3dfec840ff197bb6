// Conversions between a field's text and a double, and the whole-number rule for N.
//
// Accepted number syntax (ParseNumber and isNumeric agree exactly, because isNumeric is
// ParseNumber succeeding):
//   [blanks] [+|-] mantissa [exponent] [blanks]
//   blanks   : any run of spaces and tabs
//   mantissa : digits, digits SEP, digits SEP digits, or SEP digits (SEP = the decimal separator
//              passed in, the user's locale one; ASCII digits 0-9 only)
//   exponent : e or E, an optional + or -, one or more digits
// Nothing else: no thousands separators, no other decimal mark, no hexadecimal, no "inf"/"nan".
// A text whose value lies beyond the double range (overflow to infinity) is not a number; one
// that underflows reads as the nearest double (possibly denormal or zero).
//
// FormatGeneral follows C's "%.15G": round to 15 significant digits; with X the decimal exponent
// of the rounded value, write fixed notation when -5 < X < 15 and exponent notation otherwise;
// drop trailing zeros and a trailing separator. Exponent form is mantissa, "E", the exponent's
// sign and at least two digits: 1E-09, 1.5E+15, 4.94065645841247E-324. So whole numbers below
// 10^15 and decimals down to 0.0001 are fixed; 0.00001 is 1E-05. Zero (either sign) is "0".
// Magnitudes above 1.79769313486231E+308, whose 15-digit rounding lies beyond the double range,
// are written as that number so the text always reads back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quintrel {

// The value of text, or nothing when text is not a number in the syntax above.
std::optional<double> ParseNumber(std::string_view text, std::string_view decimalSeparator);

// The numeric test: true exactly when ParseNumber succeeds.
bool isNumeric(std::string_view text, std::string_view decimalSeparator);

// value as text with at most 15 significant digits. Non-finite values (which the calculator never
// shows) give "NaN", "Infinity" or "-Infinity".
std::string FormatGeneral(double value, std::string_view decimalSeparator);

// value rounded to the nearest integer, halves to the even neighbour, when that fits a 16-bit
// signed integer; nothing otherwise (also for NaN and infinities).
std::optional<std::int16_t> roundToInt16(double value);

// The whole-number test for N: text is numeric and its value equals its 16-bit rounding, so it
// holds exactly for whole values from -32768 to 32767, also written as 4.0 or 1e2. A value
// outside the 16-bit range is simply not whole.
bool whole16(std::string_view text, std::string_view decimalSeparator);

}  // namespace quintrel
