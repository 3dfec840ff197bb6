#include "core/formula_picture.h"

namespace quintrel {

int pictureNumber(bool repetitive, bool alternateNormalization, bool alternateSign) {
    return 1 + 4 * static_cast<int>(repetitive) + 2 * static_cast<int>(alternateNormalization) +
           static_cast<int>(alternateSign);
}

std::string pictureFileName(int k) {
    return "transforms" + std::to_string(k) + ".wmf";
}

}  // namespace quintrel
