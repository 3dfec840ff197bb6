#include "ui/frm_main_layout.h"

#include <algorithm>
#include <cstdlib>

namespace quintrel {

const ControlLayout& layoutOf(std::string_view name) {
    const auto* row = std::ranges::find(kFrmMainLayout, name, &ControlLayout::name);
    if (row == kFrmMainLayout.end()) {
        std::abort();  // a control without a row is a programming error, caught by every test
    }
    return *row;
}

}  // namespace quintrel
