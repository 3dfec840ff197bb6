// Metafile text bytes to Unicode, by the font's Windows character set or its symbol face.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quintrel::wmf {

// Character sets of a LOGFONT beyond ANSI, DEFAULT and SYMBOL (see wmf_format.h).
inline constexpr std::uint8_t kMacCharset = 77;
inline constexpr std::uint8_t kShiftJisCharset = 128;
inline constexpr std::uint8_t kHangulCharset = 129;
inline constexpr std::uint8_t kJohabCharset = 130;
inline constexpr std::uint8_t kGb2312Charset = 134;
inline constexpr std::uint8_t kChineseBig5Charset = 136;
inline constexpr std::uint8_t kGreekCharset = 161;
inline constexpr std::uint8_t kTurkishCharset = 162;
inline constexpr std::uint8_t kVietnameseCharset = 163;
inline constexpr std::uint8_t kHebrewCharset = 177;
inline constexpr std::uint8_t kArabicCharset = 178;
inline constexpr std::uint8_t kBalticCharset = 186;
inline constexpr std::uint8_t kRussianCharset = 204;
inline constexpr std::uint8_t kThaiCharset = 222;
inline constexpr std::uint8_t kEastEuropeCharset = 238;
inline constexpr std::uint8_t kOemCharset = 255;

// The Windows code page that a character set's text is written in (1252 for ANSI, DEFAULT
// and any set this table does not know; 0 for SYMBOL, which has no code page).
unsigned codePageOf(std::uint8_t charSet);

// Decoded text with, for each character, the offset of its first byte in the input, so that
// a per-byte spacing array can be summed per character (a two-byte character owns both).
struct DecodedText {
    std::u32string text;
    std::vector<std::size_t> byteOffsets;  // same length as text, increasing
};

// Decodes `bytes` from the code page of `charSet` (the two-byte sets Shift-JIS, Hangul,
// Johab, GB2312 and Big5, the 8-bit Windows code pages, Mac Roman, OEM 437; SYMBOL through
// the Symbol encoding). A byte or sequence the code page does not define, and a lead byte
// cut off at the end, each become U+FFFD; decoding never fails.
DecodedText decodeTextMapped(std::string_view bytes, std::uint8_t charSet);
std::u32string decodeText(std::string_view bytes, std::uint8_t charSet);

// As decodeText, but a face named Symbol, Wingdings or MT Extra (any case) is read through
// that font's own encoding whatever the character set says. A glyph without a Unicode
// equivalent becomes U+FFFD.
DecodedText decodeFaceTextMapped(std::string_view bytes, std::uint8_t charSet,
                                 std::string_view face);
std::u32string decodeFaceText(std::string_view bytes, std::uint8_t charSet, std::string_view face);

}  // namespace quintrel::wmf
