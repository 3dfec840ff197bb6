// The Adobe Symbol encoding: what each byte of SYMBOL_CHARSET text means in Unicode.
#pragma once

#include <cstdint>

namespace quintrel::wmf {

// The Unicode code point of Symbol byte `code`, or 0 where the encoding has no character.
char32_t symbolToUnicode(std::uint8_t code);

}  // namespace quintrel::wmf
