// Text decoding: each Windows character set, replacement of bad bytes, the symbol faces.
#include "metafile/decode/text_decoding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "metafile/decode/symbol_fonts.h"

namespace {

using namespace quintrel::wmf;

TEST(TextDecoding, DecodesEachCharacterSet) {
    const struct {
        std::uint8_t charSet;
        std::string bytes;
        std::u32string text;
    } cases[] = {
        {0, "a\x80\xE9", U"a€é"},
        {1, "\x93q\x94", U"“q”"},
        {2, "a\xA5", U"α∞"},
        {kMacCharset, "\xA5\x8E", U"•é"},
        {kShiftJisCharset, "\x93\xFA\x96\x7B", U"日本"},
        {kHangulCharset, "\xC7\xD1\xB1\xB9", U"한국"},
        {kJohabCharset, "\xD0\x65", U"한"},
        {kGb2312Charset, "\xD6\xD0\xCE\xC4", U"中文"},
        {kChineseBig5Charset, "\xA4\xA4\xA4\xE5", U"中文"},
        {kGreekCharset, "\xE1\xE2\xE3", U"αβγ"},
        {kTurkishCharset, "\xFD\xF0", U"ığ"},
        {kVietnameseCharset, "a\xEC", U"a\u0301"},  // the mark stays separate, as on Windows
        {kHebrewCharset, "\xE0", U"א"},
        {kArabicCharset, "\xC7", U"ا"},
        {kBalticCharset, "\xE8", U"č"},
        {kRussianCharset, "\xCF\xF0\xE8\xE2\xE5\xF2", U"Привет"},
        {kThaiCharset, "\xA1", U"ก"},
        {kEastEuropeCharset, "\x9A\xE8", U"šč"},
        {kOemCharset, "\xB0\xC9", U"░╔"},
        {99, "\x80", U"€"},  // an unknown set reads as ANSI
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.charSet));
        EXPECT_EQ(decodeText(c.bytes, c.charSet), c.text);
    }
}

TEST(TextDecoding, ReplacesBytesTheCodePageDoesNotDefine) {
    const struct {
        const char* name;
        std::uint8_t charSet;
        std::string bytes;
        std::u32string text;
    } cases[] = {
        {"lead byte at the end", kShiftJisCharset, "A\x82", U"A\uFFFD"},
        {"lead with an ASCII trail", kShiftJisCharset, "\x82 b", U"\uFFFD b"},
        {"lead at the end of Big5", kChineseBig5Charset, "\xA4", U"\uFFFD"},
        {"undefined GBK lead", kGb2312Charset,
         "\xFF"
         "a",
         U"\uFFFDa"},
        {"hole in cp1253", kGreekCharset, "\xAA", U"\uFFFD"},
        {"hole in cp1252", 0, "\x81", U"\uFFFD"},
        {"unassigned Symbol byte", 2, "\xF0", U"\uFFFD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(decodeText(c.bytes, c.charSet), c.text);
    }
}

TEST(TextDecoding, MapsEachCharacterToItsFirstByte) {
    const DecodedText d = decodeTextMapped(
        "a\x93\xFA"
        "b\x82",
        kShiftJisCharset);
    EXPECT_EQ(d.text, U"a日b\uFFFD");
    EXPECT_EQ(d.byteOffsets, (std::vector<std::size_t>{0, 1, 3, 4}));
}

TEST(TextDecoding, SymbolFacesWinOverTheCharacterSet) {
    const struct {
        const char* face;
        std::uint8_t charSet;
        std::string bytes;
        std::u32string text;
    } cases[] = {
        {"Wingdings", 2, "J\xFC\x8C\xFF", U"☺✔❶\uFFFD"},
        {"WINGDINGS", 0, "\xB7", U"\U0001F550"},
        {"MT Extra", 2, "hK\xA1l", U"ℏ…ℝℓ"},
        {"mt extra", 2, "1", U"\uFFFD"},  // a bracket piece with no Unicode equivalent
        {"Symbol", 0, "p", U"π"},
        {"Arial", kGreekCharset, "\xF0", U"π"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.face);
        EXPECT_EQ(decodeFaceText(c.bytes, c.charSet, c.face), c.text);
    }
    EXPECT_EQ(wingdingsToUnicode(0x10), 0U);
    EXPECT_EQ(mtExtraToUnicode(0x4D), U'⋮');
}

}  // namespace
