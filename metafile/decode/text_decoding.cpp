#include "metafile/decode/text_decoding.h"

#include <algorithm>
#include <array>
#include <memory>

#include "metafile/decode/symbol_encoding.h"
#include "metafile/decode/symbol_fonts.h"
#include "metafile/format/wmf_format.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

namespace quintrel::wmf {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr std::size_t kMaxCharBytes = 2;  // the longest character of the Windows DBCS pages
constexpr std::size_t kByteValues = 256;

struct CodePage {
    std::uint8_t charSet;
    unsigned windows;       // code page number for MultiByteToWideChar
    const char* iconvName;  // glibc's name for the same table
    bool doubleByte;
};

constexpr unsigned kAnsiCodePage = 1252;

constexpr std::array<CodePage, 16> kCodePages = {{
    {kMacCharset, 10000, "MACINTOSH", false},
    {kShiftJisCharset, 932, "CP932", true},
    {kHangulCharset, 949, "CP949", true},
    {kJohabCharset, 1361, "JOHAB", true},
    {kGb2312Charset, 936, "CP936", true},
    {kChineseBig5Charset, 950, "CP950", true},
    {kGreekCharset, 1253, "CP1253", false},
    {kTurkishCharset, 1254, "CP1254", false},
    {kVietnameseCharset, 1258, "CP1258", false},
    {kHebrewCharset, 1255, "CP1255", false},
    {kArabicCharset, 1256, "CP1256", false},
    {kBalticCharset, 1257, "CP1257", false},
    {kRussianCharset, 1251, "CP1251", false},
    {kThaiCharset, 874, "CP874", false},
    {kEastEuropeCharset, 1250, "CP1250", false},
    {kOemCharset, 437, "CP437", false},
}};

// Code page 1252, bytes 0x80-0x9F (the rest is Latin-1); 0 where the page has no character.
// Built in because ANSI text is by far the most common and must not depend on the host.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98
};

char32_t cp1252ToUnicode(std::uint8_t code) {
    if (code >= 0x80 && code < 0xA0) {
        return kCp1252High[code - 0x80] != 0 ? kCp1252High[code - 0x80] : kReplacement;
    }
    return code;
}

// The symbol fonts' tables give 0 for a glyph without a Unicode equivalent.
template <char32_t (*Table)(std::uint8_t)>
char32_t glyphOrReplacement(std::uint8_t code) {
    const char32_t c = Table(code);
    return c != 0 ? c : kReplacement;
}

enum class CharStatus {
    Ok,          // one character decoded
    Incomplete,  // the bytes are the start of a longer character
    Invalid,     // the code page does not define these bytes
};

bool validScalar(char32_t c) {
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

#ifdef _WIN32

// Decodes one character of `len` bytes with the system's converter.
CharStatus convertChar(const CodePage& page, const char* bytes, std::size_t len,
                       std::u32string& out) {
    out.clear();
    if (len == 1 && page.doubleByte &&
        IsDBCSLeadByteEx(page.windows, static_cast<BYTE>(bytes[0]))) {
        return CharStatus::Incomplete;
    }
    std::array<wchar_t, 4> units{};
    const int count =
        MultiByteToWideChar(page.windows, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(len),
                            units.data(), static_cast<int>(units.size()));
    for (int i = 0; i < count; ++i) {
        char32_t c = static_cast<char16_t>(units[i]);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < count) {
            const char32_t low = static_cast<char16_t>(units[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        out.push_back(validScalar(c) ? c : kReplacement);
    }
    return out.empty() ? CharStatus::Invalid : CharStatus::Ok;
}

#else

// iconv descriptors are costly to open; keep one per code page for the thread's lifetime.
class IconvCache {
  public:
    IconvCache() { m_descriptors.fill(kClosed); }
    ~IconvCache() {
        for (iconv_t cd : m_descriptors) {
            if (cd != kClosed && cd != kFailed) {
                iconv_close(cd);
            }
        }
    }
    IconvCache(const IconvCache&) = delete;
    IconvCache& operator=(const IconvCache&) = delete;

    // The descriptor for `page`, or kFailed when the host cannot convert it.
    iconv_t get(std::size_t index) {
        iconv_t& cd = m_descriptors[index];
        if (cd == kClosed) {
            cd = iconv_open("UTF-32LE", kCodePages[index].iconvName);
        }
        return cd;
    }

    static inline const iconv_t kFailed = reinterpret_cast<iconv_t>(-1);

  private:
    static inline const iconv_t kClosed = nullptr;
    std::array<iconv_t, kCodePages.size()> m_descriptors{};
};

IconvCache& iconvCache() {
    thread_local IconvCache cache;
    return cache;
}

// Decodes one character of `len` bytes with glibc's converter.
CharStatus convertChar(std::size_t pageIndex, const char* bytes, std::size_t len,
                       std::u32string& out) {
    out.clear();
    const iconv_t cd = iconvCache().get(pageIndex);
    if (cd == IconvCache::kFailed) {
        // Without the converter only ASCII, which every page here shares, is readable.
        if (len == 1 && static_cast<std::uint8_t>(bytes[0]) < 0x80) {
            out.push_back(static_cast<char32_t>(bytes[0]));
            return CharStatus::Ok;
        }
        return CharStatus::Invalid;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    std::array<char, 32> buffer{};
    char* in = const_cast<char*>(bytes);  // iconv's prototype; it does not write the input
    std::size_t inLeft = len;
    char* outPtr = buffer.data();
    std::size_t outLeft = buffer.size();
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
        return errno == EINVAL ? CharStatus::Incomplete : CharStatus::Invalid;
    }
    // Some pages (1255, 1258) hold a base letter back in case a combining mark follows.
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    const std::size_t produced = buffer.size() - outLeft;
    for (std::size_t i = 0; i + 4 <= produced; i += 4) {
        const auto* u = reinterpret_cast<const unsigned char*>(buffer.data() + i);
        const char32_t c = static_cast<char32_t>(u[0]) | (static_cast<char32_t>(u[1]) << 8) |
                           (static_cast<char32_t>(u[2]) << 16) |
                           (static_cast<char32_t>(u[3]) << 24);
        out.push_back(validScalar(c) ? c : kReplacement);
    }
    return out.empty() ? CharStatus::Invalid : CharStatus::Ok;
}

#endif

CharStatus convertAt(std::size_t pageIndex, const char* bytes, std::size_t len,
                     std::u32string& out) {
#ifdef _WIN32
    return convertChar(kCodePages[pageIndex], bytes, len, out);
#else
    return convertChar(pageIndex, bytes, len, out);
#endif
}

using ByteTable = std::array<char32_t, kByteValues>;

// An 8-bit page maps each byte to one character, so it is converted once into a table. This
// also keeps the combining marks of 1255 and 1258 separate, as the system's converter does.
const ByteTable& singleByteTable(std::size_t pageIndex) {
    thread_local std::array<std::unique_ptr<ByteTable>, kCodePages.size()> tables;
    std::unique_ptr<ByteTable>& table = tables[pageIndex];
    if (!table) {
        table = std::make_unique<ByteTable>();
        std::u32string chars;
        for (std::size_t b = 0; b < kByteValues; ++b) {
            const char byte = static_cast<char>(b);
            const bool ok = convertAt(pageIndex, &byte, 1, chars) == CharStatus::Ok;
            (*table)[b] = ok && chars.size() == 1 ? chars[0] : kReplacement;
        }
    }
    return *table;
}

void append(DecodedText& out, char32_t c, std::size_t offset) {
    out.text.push_back(c);
    out.byteOffsets.push_back(offset);
}

template <typename Map>
DecodedText decodeBytewise(std::string_view bytes, Map map) {
    DecodedText out;
    out.text.reserve(bytes.size());
    out.byteOffsets.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        append(out, map(static_cast<std::uint8_t>(bytes[i])), i);
    }
    return out;
}

DecodedText decodeDoubleByte(std::string_view bytes, std::size_t pageIndex) {
    DecodedText out;
    out.text.reserve(bytes.size());
    out.byteOffsets.reserve(bytes.size());
    std::u32string chars;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const auto first = static_cast<std::uint8_t>(bytes[pos]);
        if (first < 0x80) {  // ASCII in every two-byte page the system uses
            append(out, first, pos);
            ++pos;
            continue;
        }
        std::size_t len = 1;
        CharStatus status = convertAt(pageIndex, bytes.data() + pos, len, chars);
        while (status == CharStatus::Incomplete && len < kMaxCharBytes &&
               pos + len < bytes.size()) {
            ++len;
            status = convertAt(pageIndex, bytes.data() + pos, len, chars);
        }
        if (status == CharStatus::Ok) {
            for (char32_t c : chars) {
                append(out, c, pos);
            }
            pos += len;
        } else if (status == CharStatus::Incomplete && pos + len >= bytes.size()) {
            append(out, kReplacement, pos);  // a lead byte cut off by the end of the text
            pos = bytes.size();
        } else {
            // An undefined lead, or a lead whose trail is not valid: skip the lead only, so
            // that an ASCII trail still reads as itself.
            append(out, kReplacement, pos);
            ++pos;
        }
    }
    return out;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

}  // namespace

unsigned codePageOf(std::uint8_t charSet) {
    if (charSet == kSymbolCharset) {
        return 0;
    }
    for (const CodePage& page : kCodePages) {
        if (page.charSet == charSet) {
            return page.windows;
        }
    }
    return kAnsiCodePage;
}

DecodedText decodeTextMapped(std::string_view bytes, std::uint8_t charSet) {
    if (charSet == kSymbolCharset) {
        return decodeBytewise(bytes, glyphOrReplacement<symbolToUnicode>);
    }
    const auto page = std::find_if(kCodePages.begin(), kCodePages.end(),
                                   [charSet](const CodePage& p) { return p.charSet == charSet; });
    if (page == kCodePages.end()) {
        return decodeBytewise(bytes, cp1252ToUnicode);
    }
    const auto index = static_cast<std::size_t>(page - kCodePages.begin());
    if (page->doubleByte) {
        return decodeDoubleByte(bytes, index);
    }
    const ByteTable& table = singleByteTable(index);
    return decodeBytewise(bytes, [&table](std::uint8_t b) { return table[b]; });
}

std::u32string decodeText(std::string_view bytes, std::uint8_t charSet) {
    return decodeTextMapped(bytes, charSet).text;
}

DecodedText decodeFaceTextMapped(std::string_view bytes, std::uint8_t charSet,
                                 std::string_view face) {
    if (equalsIgnoringCase(face, "Symbol")) {
        return decodeBytewise(bytes, glyphOrReplacement<symbolToUnicode>);
    }
    if (equalsIgnoringCase(face, "Wingdings")) {
        return decodeBytewise(bytes, glyphOrReplacement<wingdingsToUnicode>);
    }
    if (equalsIgnoringCase(face, "MT Extra")) {
        return decodeBytewise(bytes, glyphOrReplacement<mtExtraToUnicode>);
    }
    return decodeTextMapped(bytes, charSet);
}

std::u32string decodeFaceText(std::string_view bytes, std::uint8_t charSet, std::string_view face) {
    return decodeFaceTextMapped(bytes, charSet, face).text;
}

}  // namespace quintrel::wmf
