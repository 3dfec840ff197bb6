// Making 8-bit text from a file safe to show as UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace quintrel {

// text with every invalid UTF-8 sequence replaced by U+FFFD (EF BF BD), one replacement per
// maximal invalid subpart, as Unicode recommends; valid text, NUL bytes included, is unchanged.
// Overlong forms, surrogates (ED A0…ED BF) and values above U+10FFFF are invalid.
std::string repairUtf8(std::string_view text);

}  // namespace quintrel
