// Conversions between a field's text and a double, and the whole-number rule for N.
//
// The one number syntax of the program: typed and pasted field texts and the number items of
// menu files are all read by readNumber (ParseNumber and isNumeric are readNumber succeeding, so
// the numeric test and the conversion agree exactly):
//   [blanks] [+|-] mantissa [exponent] [blanks]
//   blanks   : any run of spaces, tabs, carriage returns and line feeds, so a number copied from
//              a terminal or a spreadsheet cell ("1.5e-9\r\n") reads as it looks
//   mantissa : digits, digits SEP, digits SEP digits, or SEP digits (SEP = the decimal separator
//              passed in: the user's locale one for fields, "." for menu files; ASCII digits 0-9)
//   exponent : e or E, an optional + or -, one or more digits (any number of them)
// Nothing else: no thousands separators, no other decimal mark, no hexadecimal, no "inf"/"nan",
// no blanks inside the number.
// A text in this syntax whose value lies beyond the double range is out of range, which is not a
// number for ParseNumber; one that underflows reads as the nearest double (denormal or zero). The
// size is judged from the written exponent plus the position of the first significant digit, so
// "0.<200000 zeros>1e1000000" (about 1E+799999) is out of range and "1<200000 digits>e-300000" is
// an underflow, however long the digit runs are.
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

enum class NumberStatus {
    Ok,          // a number in the syntax above whose value a double holds
    NotANumber,  // not in the syntax above (also empty or blank text)
    OutOfRange,  // in the syntax, but beyond the double range, such as 1e400
};

struct NumberReading {
    NumberStatus status = NumberStatus::NotANumber;
    double value = 0.0;  // meaningful only when status is Ok
};

// Reads text in the syntax above.
NumberReading readNumber(std::string_view text, std::string_view decimalSeparator);

// The value of text, or nothing when text is not a number in the syntax above or out of range.
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
