#include "metafile/decode/font_faces.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quintrel::wmf {

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kTwins = {{
    {"Arial", kSansTwin},
    {"Helvetica", kSansTwin},
    {"Times New Roman", kSerifTwin},
    {"Courier New", kMonoTwin},
    {"Symbol", kSymbolTwin},
}};

}  // namespace

std::string twinFace(std::string_view face) {
    for (const auto& [name, twin] : kTwins) {
        if (equalsIgnoringCase(face, name)) {
            return std::string(twin);
        }
    }
    return std::string(face);
}

}  // namespace quintrel::wmf
