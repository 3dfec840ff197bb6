#include "menufile/menu_reader.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "core/number_text.h"
#include "core/units.h"
#include "menufile/utf8.h"

namespace quintrel {

namespace {

// Blanks skipped before an item. Unlike the blanks around a number, a line end is no blank here:
// it ends the item.
bool isSpaceOrTab(char c) {
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

}  // namespace

MenuError MenuItemReader::errorAt(MenuReadError kind, const Item& item) const {
    return MenuError{kind, item.number, item.start};
}

MenuResult<MenuItemReader::Item> MenuItemReader::nextItem() {
    const std::size_t size = m_bytes.size();
    Item item;
    item.number = m_item + 1;
    item.start = m_pos;
    if (m_pos >= size) {
        return errorAt(MenuReadError::EndOfFile, item);
    }
    // Nothing of the item may lie at or beyond `window`; reaching it means the item is too long.
    const std::size_t window = m_pos + std::min(size - m_pos, kMaxItemBytes + 1);

    std::size_t pos = m_pos;
    while (pos < window && isSpaceOrTab(m_bytes[pos])) {
        ++pos;
    }
    if (pos < window && m_bytes[pos] == '"') {
        const std::size_t textStart = ++pos;
        while (pos < window && m_bytes[pos] != '"' && !isLineEnd(m_bytes[pos])) {
            ++pos;
        }
        item.text = m_bytes.substr(textStart, pos - textStart);
        if (pos < window && m_bytes[pos] == '"') {
            ++pos;  // the closing quote; what follows it up to the item's end is dropped
        }
        while (pos < window && m_bytes[pos] != ',' && !isLineEnd(m_bytes[pos])) {
            ++pos;
        }
    } else {
        const std::size_t textStart = pos;
        while (pos < window && m_bytes[pos] != ',' && !isLineEnd(m_bytes[pos])) {
            ++pos;
        }
        item.text = m_bytes.substr(textStart, pos - textStart);
    }
    if (pos - item.start > kMaxItemBytes) {
        return errorAt(MenuReadError::ItemTooLong, item);
    }
    // pos is at the item's end: a comma, a line end or the end of the file.
    if (pos < size) {
        const char end = m_bytes[pos++];
        if (end == '\r' && pos < size && m_bytes[pos] == '\n') {
            ++pos;
        }
    }
    m_pos = pos;
    m_item = item.number;
    return item;
}

MenuResult<std::string> MenuItemReader::readText() {
    auto item = nextItem();
    if (!item) {
        return item.error();
    }
    return repairUtf8(item.value().text);
}

MenuResult<double> MenuItemReader::readNumber() {
    auto item = nextItem();
    if (!item) {
        return item.error();
    }
    const NumberReading reading = quintrel::readNumber(item.value().text, ".");
    switch (reading.status) {
        case NumberStatus::Ok:
            return reading.value;
        case NumberStatus::OutOfRange:
            return errorAt(MenuReadError::NumberOutOfRange, item.value());
        case NumberStatus::NotANumber:
            break;
    }
    return 0.0;  // not a number at all
}

MenuResult<int> MenuItemReader::readInteger() {
    const std::size_t start = m_pos;
    auto number = readNumber();
    if (!number) {
        return number.error();
    }
    const std::optional<std::int16_t> rounded = roundToInt16(number.value());
    if (!rounded) {
        return MenuError{MenuReadError::IntegerOutOfRange, m_item, start};
    }
    return static_cast<int>(*rounded);
}

MenuResult<bool> MenuItemReader::readFlag() {
    auto item = nextItem();
    if (!item) {
        return item.error();
    }
    return item.value().text == "Y";
}

MenuResult<int> MenuItemReader::readListIndex(int listSize) {
    const std::size_t start = m_pos;
    auto index = readInteger();
    if (index && (index.value() < -1 || index.value() >= listSize)) {
        return MenuError{MenuReadError::ListIndexOutOfRange, m_item, start};
    }
    return index;
}

MenuResult<int> MenuItemReader::readCheckState() {
    const std::size_t start = m_pos;
    auto state = readInteger();
    if (state && (state.value() < 0 || state.value() > 2)) {
        return MenuError{MenuReadError::CheckStateOutOfRange, m_item, start};
    }
    return state;
}

MenuResult<bool> MenuItemReader::readInto(const MenuItemSlot& slot, MenuItems& items) {
    // Stores a successful read in member, or passes its error on.
    const auto store = [&items](auto result, auto member) -> MenuResult<bool> {
        if (!result) {
            return result.error();
        }
        items.*member = result.value();
        return true;
    };
    using Text = std::string MenuItems::*;
    using Number = double MenuItems::*;
    using Integer = int MenuItems::*;
    using Flag = bool MenuItems::*;
    switch (slot.kind) {
        case MenuItemKind::Text:
            return store(readText(), std::get<Text>(slot.member));
        case MenuItemKind::Number:
            return store(readNumber(), std::get<Number>(slot.member));
        case MenuItemKind::TimeUnit:
            return store(readListIndex(static_cast<int>(TimeUnits.size())),
                         std::get<Integer>(slot.member));
        case MenuItemKind::FrequencyUnit:
            return store(readListIndex(static_cast<int>(FrequencyUnits.size())),
                         std::get<Integer>(slot.member));
        case MenuItemKind::Flag:
            return store(readFlag(), std::get<Flag>(slot.member));
        case MenuItemKind::CheckState:
            break;
    }
    return store(readCheckState(), std::get<Integer>(slot.member));
}

MenuResult<MenuItems> readMenuItems(std::string_view bytes) {
    MenuItemReader reader(bytes);
    MenuItems items;
    for (const MenuItemSlot& slot : kMenuItemSlots) {
        if (auto read = reader.readInto(slot, items); !read) {
            return read.error();
        }
    }
    return items;
}

}  // namespace quintrel
