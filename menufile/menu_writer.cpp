#include "menufile/menu_writer.h"

#include <string_view>

#include "core/number_text.h"

namespace quintrel {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

void putText(std::string& out, std::string_view text) {
    out += '"';
    out += text;
    out += '"';
    out += kLineEnd;
}

void putNumber(std::string& out, double value) {
    out += FormatGeneral(value, ".");
    out += kLineEnd;
}

void putInteger(std::string& out, int value) {
    out += std::to_string(value);
    out += kLineEnd;
}

void putFlag(std::string& out, bool value) {
    putText(out, value ? "Y" : "N");
}

}  // namespace

std::string writeMenuItems(const MenuItems& items) {
    std::string out;
    out.reserve(items.Text1.size() + items.Text2.size() + items.Text3.size() + 128);
    putText(out, items.Text1);
    putText(out, items.Text2);
    putText(out, items.Text3);
    putNumber(out, items.TimeStep);
    putNumber(out, items.PointCount);
    putNumber(out, items.FrequencyStep);
    putInteger(out, items.TimeUnit);
    putInteger(out, items.FrequencyUnit);
    putFlag(out, items.SinglePulse);
    putInteger(out, items.Check1);
    putInteger(out, items.Check2);
    putFlag(out, items.GridValid);
    return out;
}

}  // namespace quintrel
