// Reads the items of a menu file one after the other from a byte span.
//
// Tokenizing, for every kind of item alike:
//   - Blanks (spaces and tabs) before an item are skipped.
//   - An item that starts with a double quote is the bytes up to the next double quote. A line end
//     or the end of the file also closes it, so an unterminated quote never swallows the lines
//     after it. Whatever stands between the closing quote and the item's end is dropped: a text
//     written with an inner quote, "a"b", reads as a.
//   - Any other item is the bytes up to the next comma or line end, trailing blanks included.
//   - An item ends at a comma outside quotes, at a line end (CR LF, LF or CR) or at the end of the
//     file. So an empty line is an empty item, and twelve comma-separated items on one line read
//     the same as twelve lines.
//   - The end of the file where an item should start is an error (MenuReadError::EndOfFile).
//   - An item longer than kMaxItemBytes, counted from its first byte (blanks included) to the byte
//     before its end, is an error; nothing is copied before the length is known.
// Interpreting an item's text:
//   - Text: invalid UTF-8 is replaced by U+FFFD per bad sequence; everything else is kept.
//   - Number: the whole text in the program's one number syntax (readNumber in
//     core/number_text.h) with a period as decimal separator. Any other text reads as 0, not as
//     an error: "12abc", "0x10" and "inf" are 0. A number beyond the double range is an error; one
//     too small for a double reads as 0 or the nearest denormal.
//   - Integer: a number rounded to the nearest whole number, halves to the even neighbour (2.5 is
//     2, 3.5 is 4); a result outside -32768…32767 is an error.
//   - Flag: true exactly when the text is "Y"; "y", "Y " and "" are all false.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "menufile/menu_error.h"
#include "menufile/menu_items.h"

namespace quintrel {

// The longest item the reader accepts, in bytes.
inline constexpr std::size_t kMaxItemBytes = 64 * 1024;
// The reader never looks past this many bytes from the start: twelve items of at most
// kMaxItemBytes, each with a two-byte line end. Reading only this prefix of a larger file gives
// exactly the same result as reading all of it.
inline constexpr std::size_t kMaxMenuFileBytes = kMenuItemCount * (kMaxItemBytes + 2);

class MenuItemReader {
  public:
    explicit MenuItemReader(std::string_view bytes) : m_bytes(bytes) {}

    // Each call reads the next item; a reader is not meant to be used after an error.
    MenuResult<std::string> readText();
    MenuResult<double> readNumber();
    MenuResult<int> readInteger();
    MenuResult<bool> readFlag();
    // An integer that is -1 or an index of a list with listSize entries.
    MenuResult<int> readListIndex(int listSize);
    // An integer that is 0, 1 or 2.
    MenuResult<int> readCheckState();
    // The next item, read as slot's kind into its member of items.
    MenuResult<bool> readInto(const MenuItemSlot& slot, MenuItems& items);

    int itemsRead() const { return m_item; }
    std::size_t offset() const { return m_pos; }

  private:
    struct Item {
        std::string_view text;  // the item's text, quotes taken off
        int number = 0;         // 1-based item number
        std::size_t start = 0;  // byte offset of its first byte
    };
    MenuResult<Item> nextItem();
    MenuError errorAt(MenuReadError kind, const Item& item) const;

    std::string_view m_bytes;
    std::size_t m_pos = 0;
    int m_item = 0;
};

// All twelve items of a file, with the range checks of the window's controls (six time units,
// five frequency units, three check-box states). Bytes after item 12 are ignored.
MenuResult<MenuItems> readMenuItems(std::string_view bytes);

}  // namespace quintrel
