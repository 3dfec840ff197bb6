#include "menufile/menu_error.h"

namespace quintrel {

namespace {

const char* reason(MenuReadError kind) {
    switch (kind) {
        case MenuReadError::CannotOpen:
            return "the file cannot be opened";
        case MenuReadError::EndOfFile:
            return "the file ends before the last item";
        case MenuReadError::ItemTooLong:
            return "item too long";
        case MenuReadError::NumberOutOfRange:
            return "number beyond the double range";
        case MenuReadError::IntegerOutOfRange:
            return "integer outside -32768 to 32767";
        case MenuReadError::ListIndexOutOfRange:
            return "list index outside the list";
        case MenuReadError::CheckStateOutOfRange:
            return "check-box state other than 0, 1 or 2";
    }
    return "unknown error";
}

}  // namespace

std::string describe(const MenuError& error) {
    if (error.kind == MenuReadError::CannotOpen) {
        return reason(error.kind);
    }
    return "item " + std::to_string(error.item) + " at byte " + std::to_string(error.offset) +
           ": " + reason(error.kind);
}

}  // namespace quintrel
