#include "menufile/utf8.h"

#include <cstddef>

namespace quintrel {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The length of the valid UTF-8 sequence at text[pos…), or, when there is none, minus the length
// of the maximal invalid subpart there (at least 1).
int sequenceAt(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        return 1;
    }
    int length = 0;
    unsigned char low = 0x80;  // the range the second byte must fall in
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) {
            low = 0xA0;  // no overlong forms
        } else if (lead == 0xED) {
            high = 0x9F;  // no surrogates
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) {
            low = 0x90;  // no overlong forms
        } else if (lead == 0xF4) {
            high = 0x8F;  // nothing above U+10FFFF
        }
    } else {
        return -1;  // a continuation byte, C0, C1 or F5…FF
    }
    for (int k = 1; k < length; ++k) {
        const std::size_t i = pos + static_cast<std::size_t>(k);
        if (i >= text.size()) {
            return -k;
        }
        const unsigned char lo = k == 1 ? low : 0x80;
        const unsigned char hi = k == 1 ? high : 0xBF;
        if (byte(i) < lo || byte(i) > hi) {
            return -k;
        }
    }
    return length;
}

}  // namespace

std::string repairUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const int length = sequenceAt(text, pos);
        if (length > 0) {
            out.append(text.substr(pos, static_cast<std::size_t>(length)));
            pos += static_cast<std::size_t>(length);
        } else {
            out.append(kReplacement);
            pos += static_cast<std::size_t>(-length);
        }
    }
    return out;
}

}  // namespace quintrel
