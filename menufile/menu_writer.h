// Writes the twelve items of a menu file as bytes.
#pragma once

#include <string>

#include "menufile/menu_items.h"

namespace quintrel {

// The file's bytes: one item per line, every line ending in CR LF. Texts and flags go between
// double quotes with no escaping (a text holding a quote cannot round-trip); numbers use
// FormatGeneral with a period, so 1E-09 or 333333333.333333; integers are plain decimal.
std::string writeMenuItems(const MenuItems& items);

}  // namespace quintrel
