#include "menufile/menu_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "menufile/utf8.h"
#include "tests/menufile/example_file.h"

namespace quintrel {
namespace {

using testing::exampleItems;
using testing::exampleWithLine;
using testing::kExampleFile;

MenuItems readOk(std::string_view bytes) {
    const auto result = readMenuItems(bytes);
    EXPECT_TRUE(result.ok()) << (result.ok() ? "" : describe(result.error()));
    return result.ok() ? result.value() : MenuItems{};
}

MenuError readError(std::string_view bytes) {
    const auto result = readMenuItems(bytes);
    EXPECT_FALSE(result.ok());
    return result.ok() ? MenuError{} : result.error();
}

TEST(MenuReader, ReadsTheExampleFile) {
    ASSERT_EQ(kExampleFile.size(), 60u);
    EXPECT_EQ(readOk(kExampleFile), exampleItems());
}

struct Layout {
    const char* name;
    std::string bytes;
};

TEST(MenuReader, OtherLayoutsOfTheExampleReadTheSame) {
    const Layout layouts[] = {
        {"all on one line", "\"1\",\"8\",\"125\",1E-09,8,125000000,3,2,\"N\",0,1,\"Y\"\r\n"},
        {"LF line ends", "\"1\"\n\"8\"\n\"125\"\n1E-09\n8\n125000000\n3\n2\n\"N\"\n0\n1\n\"Y\"\n"},
        {"CR line ends", "\"1\"\r\"8\"\r\"125\"\r1E-09\r8\r125000000\r3\r2\r\"N\"\r0\r1\r\"Y\"\r"},
        {"no line end at the end", std::string(kExampleFile.substr(0, 58))},
        {"CR alone at the end", std::string(kExampleFile.substr(0, 58)) + "\r"},
        {"LF alone at the end", std::string(kExampleFile.substr(0, 58)) + "\n"},
        {"lines after item 12", std::string(kExampleFile) + "\"more\"\r\n42\r\ngarbage\xff\r\n"},
        {"blanks before items",
         "  \"1\"\r\n\t\"8\"\r\n \"125\"\r\n 1E-09\r\n8\r\n 125000000\r\n\t3\r\n2\r\n \"N\"\r\n"
         "0\r\n 1\r\n \"Y\"\r\n"},
        {"blanks after numbers and quotes",
         "\"1\"  \r\n\"8\"\r\n\"125\"\r\n1E-09 \r\n8\t\r\n125000000\r\n3 \r\n2\r\n\"N\" "
         "\r\n0\r\n1\r\n"
         "\"Y\"\r\n"},
        {"unquoted texts, quoted numbers",
         "1\r\n8\r\n125\r\n\"1e-9\"\r\n\"8\"\r\n1.25E+08\r\n\"3\"\r\n2.0\r\nN\r\n0\r\n1\r\nY\r\n"},
        {"text after closing quotes",
         "\"1\"x,\"8\" \"y\"\r\n\"125\"z\"\r\n1E-09,8,125000000,3,2,\"N\"N,0,1,\"Y\"Y"},
        {"mixed separators", "\"1\",\"8\"\r\n\"125\",1E-09,8\n125000000,3,2,\"N\"\r0,1,\"Y\""},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        EXPECT_EQ(readOk(layout.bytes), exampleItems());
    }
}

TEST(MenuReader, FlagsAreTrueOnlyForAnExactY) {
    const std::pair<const char*, bool> cases[] = {
        {"\"Y\"", true}, {"Y", true}, {"  \"Y\"", true}, {"\"y\"", false}, {"\"N\"", false},
        {"\"\"", false}, {"", false}, {"\"Y \"", false}, {"Y ", false},    {"\"Yes\"", false},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(readOk(exampleWithLine(9, text)).SinglePulse, expected);
        EXPECT_EQ(readOk(exampleWithLine(12, text)).GridValid, expected);
    }
    // Item 12 as a lone opening quote, the last byte of the file: an empty text.
    EXPECT_FALSE(readOk(std::string(kExampleFile.substr(0, 55)) + "\"").GridValid);
}

TEST(MenuReader, TextItems) {
    const std::pair<const char*, std::string> cases[] = {
        {"\"\"", ""},
        {"\"0,125\"", "0,125"},  // a decimal comma stays inside its quotes
        {"\"a\"b\"", "a"},       // the text ends at the inner quote, the rest is dropped
        {"\"a\" b", "a"},
        {"\"unterminated", "unterminated"},  // the line end closes an open quote
        {"  1.5 us ", "1.5 us "},            // unquoted: leading blanks skipped, the rest kept
        {"caf\xC3\xA9", "caf\xC3\xA9"},      // UTF-8 as it stands
        {"\"a\xFF"
         "b\"",
         "a\xEF\xBF\xBD"
         "b"},  // a bad byte becomes U+FFFD, nothing else changes
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        const auto items = readOk(exampleWithLine(1, text));
        EXPECT_EQ(items.Text1, expected);
        EXPECT_EQ(items.Text2, "8");  // the next item is still the next line
    }
    // Several commas on one line make several items; an empty line is an empty item.
    EXPECT_EQ(readOk("\"1\",,\"125\",0,0,0,3,3,\"N\",0,0,\"N\"").Text2, "");
    EXPECT_EQ(
        readOk("\"1\"\r\n\r\n\"125\"\r\n0\r\n0\r\n0\r\n3\r\n3\r\n\"N\"\r\n0\r\n0\r\n\"N\"").Text3,
        "125");
}

TEST(MenuReader, NumberItems) {
    const std::pair<const char*, double> cases[] = {
        {"1E-09", 1e-9},
        {"1e-9", 1e-9},
        {" -2.5 ", -2.5},
        {"+4", 4.0},
        {".5", 0.5},
        {"5.", 5.0},
        {"abc", 0.0},
        {"12abc", 0.0},
        {"", 0.0},
        {"0x10", 0.0},
        {"inf", 0.0},
        {"nan", 0.0},
        {"1e-400", 0.0},
        {"\"2\"", 2.0},
        {"1e", 0.0},
        {"--1", 0.0},
        {"1.7976931348623157e308", 1.7976931348623157e308},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(readOk(exampleWithLine(4, text)).TimeStep, expected);
    }
}

TEST(MenuReader, IntegersRoundHalvesToEven) {
    const std::pair<const char*, int> cases[] = {
        {"2.5", 2},  {"3.5", 4},         {"-0.5", 0},          {"-1.5", -2}, {"0.49", 0},
        {"1e1", 10}, {"32767.4", 32767}, {"-32768.5", -32768}, {"abc", 0},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        MenuItemReader reader(text);
        const auto value = reader.readInteger();
        ASSERT_TRUE(value.ok());
        EXPECT_EQ(value.value(), expected);
    }
    for (const char* text : {"32767.5", "32768", "-32769", "1e10"}) {
        SCOPED_TRACE(text);
        MenuItemReader reader(text);
        const auto value = reader.readInteger();
        ASSERT_FALSE(value.ok());
        EXPECT_EQ(value.error().kind, MenuReadError::IntegerOutOfRange);
    }
}

TEST(MenuReader, ControlRanges) {
    EXPECT_EQ(readOk(exampleWithLine(7, "-1")).TimeUnit, -1);
    EXPECT_EQ(readOk(exampleWithLine(7, "5")).TimeUnit, 5);
    EXPECT_EQ(readOk(exampleWithLine(8, "4")).FrequencyUnit, 4);
    EXPECT_EQ(readOk(exampleWithLine(10, "2")).Check1, 2);
    // Example offsets: item 7 starts at byte 38, item 8 at 41, item 10 at 49, item 11 at 52.
    const std::tuple<int, const char*, MenuError> cases[] = {
        {7, "6", {MenuReadError::ListIndexOutOfRange, 7, 38}},
        {7, "-2", {MenuReadError::ListIndexOutOfRange, 7, 38}},
        {7, "99999", {MenuReadError::IntegerOutOfRange, 7, 38}},
        {8, "5", {MenuReadError::ListIndexOutOfRange, 8, 41}},
        {10, "3", {MenuReadError::CheckStateOutOfRange, 10, 49}},
        {11, "-1", {MenuReadError::CheckStateOutOfRange, 11, 52}},
    };
    for (const auto& [line, text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(readError(exampleWithLine(line, text)), expected);
    }
}

TEST(MenuReader, HostileFiles) {
    using namespace std::string_literals;
    const std::string noise = "\x8f\xff\x00\x1b\x7f\xc3(\xe2\x82\xf0\x9f\x98\r\x0b\x01\x02,"s;
    const std::string eleven(kExampleFile.substr(0, 55));
    const std::tuple<const char*, std::string, MenuError> cases[] = {
        {"empty", "", {MenuReadError::EndOfFile, 1, 0}},
        {"binary noise", noise, {MenuReadError::EndOfFile, 3, noise.size()}},
        {"eleven items", eleven, {MenuReadError::EndOfFile, 12, 55}},
        {"eleven items, then an empty end",
         eleven.substr(0, 54),
         {MenuReadError::EndOfFile, 12, 54}},
        {"unterminated quote", "\"1", {MenuReadError::EndOfFile, 2, 2}},
        {"an opening quote as the last byte", "\"1\"\r\n\"", {MenuReadError::EndOfFile, 3, 6}},
        {"a closing quote as the last byte", "\"1\"", {MenuReadError::EndOfFile, 2, 3}},
        {"a closing quote, then CR", "\"1\"\r", {MenuReadError::EndOfFile, 2, 4}},
        {"a closing quote, then LF", "\"1\"\n", {MenuReadError::EndOfFile, 2, 4}},
        {"a closing quote, then CR LF", "\"1\"\r\n", {MenuReadError::EndOfFile, 2, 5}},
        {"1e400", exampleWithLine(4, "1e400"), {MenuReadError::NumberOutOfRange, 4, 17}},
        {"-1e400 as an integer",
         exampleWithLine(10, "-1e400"),
         {MenuReadError::NumberOutOfRange, 10, 49}},
        {"99999 as an index",
         exampleWithLine(8, "99999"),
         {MenuReadError::IntegerOutOfRange, 8, 41}},
        {"check state 3", exampleWithLine(11, "3"), {MenuReadError::CheckStateOutOfRange, 11, 52}},
        {"a huge line", std::string(1 << 20, 'x'), {MenuReadError::ItemTooLong, 1, 0}},
        {"a huge quoted text",
         "\"1\"\r\n\"" + std::string(1 << 20, '8'),
         {MenuReadError::ItemTooLong, 2, 5}},
        {"huge blanks", std::string(1 << 20, ' ') + "\"1\"", {MenuReadError::ItemTooLong, 1, 0}},
    };
    for (const auto& [name, bytes, expected] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(readError(bytes), expected);
    }
}

TEST(MenuReader, NulBytesAreKeptInTextsAndReadAsNoNumber) {
    using namespace std::string_literals;
    const std::string file =
        "\"a\0b\"\r\n\0\r\n\"\"\r\n\0\0\r\n"s + std::string(kExampleFile.substr(24));
    const MenuItems items = readOk(file);
    EXPECT_EQ(items.Text1, "a\0b"s);
    EXPECT_EQ(items.Text2, "\0"s);
    EXPECT_EQ(items.TimeStep, 0.0);
    EXPECT_EQ(items.PointCount, 8.0);
}

TEST(MenuReader, ItemLengthLimit) {
    const std::string atLimit = "\"" + std::string(kMaxItemBytes - 2, 'a') + "\"";
    const std::string pastLimit = " " + atLimit;
    const std::string rest(kExampleFile.substr(5));
    EXPECT_EQ(readOk(atLimit + "\r\n" + rest).Text1.size(), kMaxItemBytes - 2);
    EXPECT_EQ(readError(pastLimit + "\r\n" + rest), (MenuError{MenuReadError::ItemTooLong, 1, 0}));
    // The same at the very end of the file, where no line end follows.
    const std::string first11(kExampleFile.substr(0, 55));
    EXPECT_TRUE(readMenuItems(first11 + atLimit).ok());
    EXPECT_EQ(readError(first11 + pastLimit), (MenuError{MenuReadError::ItemTooLong, 12, 55}));
}

// Files built so that every item reaches as far into the file as the limit allows: reading only
// the first kMaxMenuFileBytes bytes must give the same answer as reading everything.
TEST(MenuReader, NeverLooksPastItsReadLimit) {
    const std::string longest = std::string(kMaxItemBytes - 1, ' ') + "1";
    std::string allLong;
    for (int k = 0; k < kMenuItemCount; ++k) {
        allLong += longest + "\r\n";
    }
    ASSERT_EQ(allLong.size(), kMaxMenuFileBytes);
    const std::string lastTooLong =
        allLong.substr(0, allLong.size() - longest.size() - 2) + " " + longest + "\r\n";
    const std::string junk = std::string(5000, '9') + "\r\n";
    for (const std::string& file : {allLong + junk, lastTooLong + junk}) {
        const auto whole = readMenuItems(file);
        const auto prefix = readMenuItems(std::string_view(file).substr(0, kMaxMenuFileBytes));
        ASSERT_EQ(whole.ok(), prefix.ok());
        if (whole.ok()) {
            EXPECT_EQ(whole.value(), prefix.value());
        } else {
            EXPECT_EQ(whole.error(), prefix.error());
        }
    }
    EXPECT_EQ(readOk(allLong).Check2, 1);
    EXPECT_EQ(readError(lastTooLong),
              (MenuError{MenuReadError::ItemTooLong, 12, 11 * (kMaxItemBytes + 2)}));
}

TEST(MenuReader, ErrorsSayWhatAndWhere) {
    EXPECT_EQ(describe(readError(exampleWithLine(7, "6"))),
              "item 7 at byte 38: list index outside the list");
    EXPECT_EQ(describe(readError("")), "item 1 at byte 0: the file ends before the last item");
}

TEST(Utf8Repair, ReplacesEachBadSequenceOnly) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"},
        {"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {"a\xFF"
         "b",
         "a\uFFFD"
         "b"},
        {"a\xC3", "a\uFFFD"},                    // cut short at the end
        {"\xE2\x82x", "\uFFFDx"},                // one replacement for the maximal subpart
        {"\xC0\xAF", "\uFFFD\uFFFD"},            // overlong
        {"\xED\xA0\x80", "\uFFFD\uFFFD\uFFFD"},  // a surrogate
        {"\xF4\x90\x80\x80", "\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
        {"\x80\xBF", "\uFFFD\uFFFD"},                      // stray continuation bytes
        {"\xF0\x9F\x98", "\uFFFD"},
        // Lead-byte limits: C0 and C1 only start overlong forms, C2 80 is U+0080, F4 8F BF BF is
        // U+10FFFF, and F5 and above start nothing.
        {"\xC1\xBF", "\uFFFD\uFFFD"},
        {"\xC2\x80\xDF\xBF", "\xC2\x80\xDF\xBF"},
        {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},
        {"\xF5\x80\x80\x80", "\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"\xE0\x9F\xBF\xE0\xA0\x80", "\uFFFD\uFFFD\uFFFD\xE0\xA0\x80"},
        {"\xF0\x8F\xBF\xBF\xF0\x90\x80\x80", "\uFFFD\uFFFD\uFFFD\uFFFD\xF0\x90\x80\x80"},
    };
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(repairUtf8(input), expected) << input;
    }
}

}  // namespace
}  // namespace quintrel
