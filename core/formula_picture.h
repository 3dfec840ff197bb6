// The choice of the formula picture from the signal kind and the two convention check boxes.
#pragma once

#include <string>

namespace quintrel {

inline constexpr int kPictureCount = 8;

// K = 1 + 4·[repetitive] + 2·[alternate normalization] + [alternate sign], from 1 to 8.
int pictureNumber(bool repetitive, bool alternateNormalization, bool alternateSign);

// "transforms<K>.wmf", the file name of picture k.
std::string pictureFileName(int k);

}  // namespace quintrel
