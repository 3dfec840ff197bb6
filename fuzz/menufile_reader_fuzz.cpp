// Fuzzes the menu-file reader, alone and putting items into an in-memory window with the real
// handlers. Besides crashes and sanitizer findings it checks what must hold for every input: read
// values fit their controls, texts are valid UTF-8, and writing what was read is stable.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/grid_handlers.h"
#include "menufile/menu_procedures.h"
#include "menufile/menu_reader.h"
#include "menufile/menu_writer.h"
#include "menufile/utf8.h"
#include "tests/support/fake_window.h"

namespace {

using namespace quintrel;

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool roundTrips(const std::string& text) {
    return text.find_first_of("\"\r\n") == std::string::npos && text.size() + 2 <= kMaxItemBytes;
}

void checkItems(const MenuItems& items) {
    for (const std::string* text : {&items.Text1, &items.Text2, &items.Text3}) {
        require(repairUtf8(*text) == *text);
    }
    for (double number : {items.TimeStep, items.PointCount, items.FrequencyStep}) {
        require(std::isfinite(number));
    }
    require(items.TimeUnit >= -1 && items.TimeUnit <= 5);
    require(items.FrequencyUnit >= -1 && items.FrequencyUnit <= 4);
    require(items.Check1 >= 0 && items.Check1 <= 2);
    require(items.Check2 >= 0 && items.Check2 <= 2);

    // Written once, a file reads back to items that write the very same bytes again.
    if (roundTrips(items.Text1) && roundTrips(items.Text2) && roundTrips(items.Text3)) {
        const std::string written = writeMenuItems(items);
        const auto again = readMenuItems(written);
        require(again.ok());
        require(writeMenuItems(again.value()) == written);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto items = readMenuItems(bytes);
    if (items.ok()) {
        checkItems(items.value());
    } else {
        require(items.error().item >= 1 && items.error().item <= kMenuItemCount);
        require(items.error().offset <= size);
    }

    GridState state;
    testing::FakeWindow window;
    GridHandlers handlers(window, state, "/nonexistent");
    window.handlers = &handlers;
    handlers.Form_Load();
    const MenuLoad load = putMenuFile(bytes, window, handlers, state);
    require(load.error.has_value() == !items.ok());
    require(state.GridValid == kFalse || (items.ok() && items.value().GridValid));
    return 0;
}
