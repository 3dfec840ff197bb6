// Why reading a menu file stopped, and where.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <variant>

namespace quintrel {

enum class MenuReadError {
    CannotOpen,            // the file is missing, is no regular file or cannot be read
    EndOfFile,             // the file ends before item 12 has been read
    ItemTooLong,           // an item runs past kMaxItemBytes without ending
    NumberOutOfRange,      // a number beyond the double range, such as 1e400
    IntegerOutOfRange,     // an integer item that does not round into -32768…32767
    ListIndexOutOfRange,   // a unit index other than -1 or an index of its list
    CheckStateOutOfRange,  // a check-box state other than 0, 1 or 2
};

struct MenuError {
    MenuReadError kind = MenuReadError::CannotOpen;
    int item = 0;            // 1…12; 0 when the file could not be opened
    std::size_t offset = 0;  // byte offset in the file where the item starts

    bool operator==(const MenuError&) const = default;
};

// A one-line account such as "item 7 at byte 23: list index outside the list".
std::string describe(const MenuError& error);

// A value read from a menu file, or the reason it could not be.
template <typename T>
class [[nodiscard]] MenuResult {
  public:
    MenuResult(T value) : m_value(std::move(value)) {}          // NOLINT: implicit on purpose
    MenuResult(MenuError error) : m_value(std::move(error)) {}  // NOLINT: implicit on purpose

    bool ok() const { return std::holds_alternative<T>(m_value); }
    explicit operator bool() const { return ok(); }
    // Only meaningful when ok().
    const T& value() const { return std::get<T>(m_value); }
    T& value() { return std::get<T>(m_value); }
    // Only meaningful when !ok().
    const MenuError& error() const { return std::get<MenuError>(m_value); }

  private:
    std::variant<T, MenuError> m_value;
};

}  // namespace quintrel
