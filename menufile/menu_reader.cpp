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

MenuResult<MenuItems> readMenuItems(std::string_view bytes) {
    MenuItemReader reader(bytes);
    MenuItems items;
    std::optional<MenuError> error;
    // Reads one item into `into` unless an earlier item has failed.
    const auto step = [&error](auto read, auto& into) {
        if (error) {
            return;
        }
        auto result = read();
        if (result) {
            into = result.value();
        } else {
            error = result.error();
        }
    };
    constexpr int kTimeUnitCount = static_cast<int>(TimeUnits.size());
    constexpr int kFrequencyUnitCount = static_cast<int>(FrequencyUnits.size());
    step([&] { return reader.readText(); }, items.Text1);
    step([&] { return reader.readText(); }, items.Text2);
    step([&] { return reader.readText(); }, items.Text3);
    step([&] { return reader.readNumber(); }, items.TimeStep);
    step([&] { return reader.readNumber(); }, items.PointCount);
    step([&] { return reader.readNumber(); }, items.FrequencyStep);
    step([&] { return reader.readListIndex(kTimeUnitCount); }, items.TimeUnit);
    step([&] { return reader.readListIndex(kFrequencyUnitCount); }, items.FrequencyUnit);
    step([&] { return reader.readFlag(); }, items.SinglePulse);
    step([&] { return reader.readCheckState(); }, items.Check1);
    step([&] { return reader.readCheckState(); }, items.Check2);
    step([&] { return reader.readFlag(); }, items.GridValid);
    if (error) {
        return *error;
    }
    return items;
}

}  // namespace quintrel
