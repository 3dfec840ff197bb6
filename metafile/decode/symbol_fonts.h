// What each byte of the Wingdings and "MT Extra" symbol fonts means in Unicode.
#pragma once

#include <cstdint>

namespace quintrel::wmf {

// The Unicode character of Wingdings byte `code` (pictographs, dingbats, arrows, the
// circled digits, clock faces), or 0 where the glyph has no Unicode equivalent.
char32_t wingdingsToUnicode(std::uint8_t code);

// The Unicode character of byte `code` in "MT Extra", the equation editors' font of extra
// mathematical symbols (ellipses, arrows and harpoons, ℏ, ℓ, double-struck letters, accents
// that combine with the preceding letter), or 0 where the glyph has no Unicode equivalent
// (bracket pieces and other glyphs that only exist in the font's private area).
char32_t mtExtraToUnicode(std::uint8_t code);

}  // namespace quintrel::wmf
