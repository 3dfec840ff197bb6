#include "platform/wmf/wmf_writer.h"

#include <algorithm>

#include "platform/wmf/wmf_reader.h"

namespace quintrel::wmf {

namespace {

std::uint16_t word(std::int16_t value) {
    return static_cast<std::uint16_t>(value);
}

void appendColor(std::vector<std::uint16_t>& out, std::uint32_t color) {
    out.push_back(static_cast<std::uint16_t>(color & 0xFFFF));
    out.push_back(static_cast<std::uint16_t>(color >> 16));
}

void appendBytes(std::vector<std::uint16_t>& out, std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const auto low = static_cast<std::uint8_t>(bytes[i]);
        const auto high = i + 1 < bytes.size() ? static_cast<std::uint8_t>(bytes[i + 1]) : 0;
        out.push_back(static_cast<std::uint16_t>(low | (high << 8)));
    }
}

void appendPoints(std::vector<std::uint16_t>& out, std::span<const Point16> points) {
    out.push_back(static_cast<std::uint16_t>(points.size()));
    for (const Point16& p : points) {
        out.push_back(word(p.x));
        out.push_back(word(p.y));
    }
}

void putU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    putU16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    putU16(out, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace

MetafileWriter::MetafileWriter(Rect16 bounds, std::uint16_t inch)
    : m_bounds(bounds), m_inch(inch) {}

void MetafileWriter::record(std::uint16_t function, std::span<const std::uint16_t> params) {
    const auto size = static_cast<std::uint32_t>(kRecordHeaderWords + params.size());
    m_body.push_back(static_cast<std::uint16_t>(size & 0xFFFF));
    m_body.push_back(static_cast<std::uint16_t>(size >> 16));
    m_body.push_back(function);
    m_body.insert(m_body.end(), params.begin(), params.end());
    m_maxRecordWords = std::max(m_maxRecordWords, size);
}

void MetafileWriter::record(Function function, std::span<const std::uint16_t> params) {
    record(static_cast<std::uint16_t>(function), params);
}

std::uint16_t MetafileWriter::allocateObject() {
    const auto free = std::find(m_used.begin(), m_used.end(), false);
    const auto index = static_cast<std::uint16_t>(free - m_used.begin());
    if (free == m_used.end()) {
        m_used.push_back(true);
    } else {
        *free = true;
    }
    return index;
}

void MetafileWriter::setMapMode(std::uint16_t mode) {
    const std::uint16_t p[] = {mode};
    record(Function::SetMapMode, p);
}

// Coordinates of the window and position records are stored y first.
void MetafileWriter::setWindowOrg(std::int16_t x, std::int16_t y) {
    const std::uint16_t p[] = {word(y), word(x)};
    record(Function::SetWindowOrg, p);
}

void MetafileWriter::setWindowExt(std::int16_t x, std::int16_t y) {
    const std::uint16_t p[] = {word(y), word(x)};
    record(Function::SetWindowExt, p);
}

void MetafileWriter::saveDc() {
    record(Function::SaveDc, {});
}

void MetafileWriter::restoreDc(std::int16_t level) {
    const std::uint16_t p[] = {word(level)};
    record(Function::RestoreDc, p);
}

std::uint16_t MetafileWriter::createFont(const LogFont& font) {
    std::vector<std::uint16_t> p = {word(font.height), word(font.width), word(font.escapement),
                                    word(font.orientation), word(font.weight)};
    const std::uint8_t flags[] = {font.italic,  font.underline,     font.strikeOut,
                                  font.charSet, font.outPrecision,  font.clipPrecision,
                                  font.quality, font.pitchAndFamily};
    for (std::size_t i = 0; i < 8; i += 2) {
        p.push_back(static_cast<std::uint16_t>(flags[i] | (flags[i + 1] << 8)));
    }
    // The face name with its terminating NUL, padded to a whole word.
    std::string face = font.faceName.substr(0, kMaxFaceNameBytes - 1);
    face.push_back('\0');
    appendBytes(p, face);
    record(Function::CreateFontIndirect, p);
    return allocateObject();
}

std::uint16_t MetafileWriter::createPen(std::uint16_t style, std::int16_t width,
                                        std::uint32_t color) {
    std::vector<std::uint16_t> p = {style, word(width), 0};
    appendColor(p, color);
    record(Function::CreatePenIndirect, p);
    return allocateObject();
}

std::uint16_t MetafileWriter::createBrush(std::uint16_t style, std::uint32_t color,
                                          std::uint16_t hatch) {
    std::vector<std::uint16_t> p = {style};
    appendColor(p, color);
    p.push_back(hatch);
    record(Function::CreateBrushIndirect, p);
    return allocateObject();
}

void MetafileWriter::selectObject(std::uint16_t index) {
    const std::uint16_t p[] = {index};
    record(Function::SelectObject, p);
}

void MetafileWriter::deleteObject(std::uint16_t index) {
    const std::uint16_t p[] = {index};
    record(Function::DeleteObject, p);
    if (index < m_used.size()) {
        m_used[index] = false;
    }
}

void MetafileWriter::setTextColor(std::uint32_t color) {
    std::vector<std::uint16_t> p;
    appendColor(p, color);
    record(Function::SetTextColor, p);
}

void MetafileWriter::setBkColor(std::uint32_t color) {
    std::vector<std::uint16_t> p;
    appendColor(p, color);
    record(Function::SetBkColor, p);
}

void MetafileWriter::setBkMode(std::uint16_t mode) {
    const std::uint16_t p[] = {mode};
    record(Function::SetBkMode, p);
}

void MetafileWriter::setTextAlign(std::uint16_t align) {
    const std::uint16_t p[] = {align};
    record(Function::SetTextAlign, p);
}

void MetafileWriter::setPolyFillMode(std::uint16_t mode) {
    const std::uint16_t p[] = {mode};
    record(Function::SetPolyFillMode, p);
}

void MetafileWriter::textOut(std::int16_t x, std::int16_t y, std::string_view text) {
    std::vector<std::uint16_t> p = {static_cast<std::uint16_t>(text.size())};
    appendBytes(p, text);
    p.push_back(word(y));
    p.push_back(word(x));
    record(Function::TextOut, p);
}

void MetafileWriter::extTextOut(std::int16_t x, std::int16_t y, std::uint16_t options, Rect16 rect,
                                std::string_view text, std::span<const std::int16_t> dx) {
    std::vector<std::uint16_t> p = {word(y), word(x), static_cast<std::uint16_t>(text.size()),
                                    options};
    if ((options & (kEtoOpaque | kEtoClipped)) != 0) {
        p.insert(p.end(), {word(rect.left), word(rect.top), word(rect.right), word(rect.bottom)});
    }
    appendBytes(p, text);
    for (std::int16_t d : dx) {
        p.push_back(word(d));
    }
    record(Function::ExtTextOut, p);
}

void MetafileWriter::moveTo(std::int16_t x, std::int16_t y) {
    const std::uint16_t p[] = {word(y), word(x)};
    record(Function::MoveTo, p);
}

void MetafileWriter::lineTo(std::int16_t x, std::int16_t y) {
    const std::uint16_t p[] = {word(y), word(x)};
    record(Function::LineTo, p);
}

void MetafileWriter::polyline(std::span<const Point16> points) {
    std::vector<std::uint16_t> p;
    appendPoints(p, points);
    record(Function::Polyline, p);
}

void MetafileWriter::polygon(std::span<const Point16> points) {
    std::vector<std::uint16_t> p;
    appendPoints(p, points);
    record(Function::Polygon, p);
}

// Rectangle and ellipse store bottom, right, top, left.
void MetafileWriter::rectangle(Rect16 r) {
    const std::uint16_t p[] = {word(r.bottom), word(r.right), word(r.top), word(r.left)};
    record(Function::Rectangle, p);
}

void MetafileWriter::ellipse(Rect16 r) {
    const std::uint16_t p[] = {word(r.bottom), word(r.right), word(r.top), word(r.left)};
    record(Function::Ellipse, p);
}

std::vector<std::uint8_t> MetafileWriter::finish() const {
    std::vector<std::uint8_t> out;
    out.reserve(kPlaceableHeaderBytes + kMetaHeaderBytes + 2 * m_body.size() + 6);
    putU32(out, kPlaceableKey);
    putU16(out, 0);  // handle, always 0 on disk
    putU16(out, word(m_bounds.left));
    putU16(out, word(m_bounds.top));
    putU16(out, word(m_bounds.right));
    putU16(out, word(m_bounds.bottom));
    putU16(out, m_inch);
    putU32(out, 0);  // reserved
    putU16(out, placeableChecksum(out));

    const auto totalWords =
        static_cast<std::uint32_t>(kMetaHeaderWords + m_body.size() + kRecordHeaderWords);
    putU16(out, 1);  // memory metafile
    putU16(out, kMetaHeaderWords);
    putU16(out, 0x0300);
    putU32(out, totalWords);
    putU16(out, static_cast<std::uint16_t>(m_used.size()));
    putU32(out, m_maxRecordWords);
    putU16(out, 0);  // NumberOfMembers, unused
    for (std::uint16_t w : m_body) {
        putU16(out, w);
    }
    putU32(out, kRecordHeaderWords);  // META_EOF
    putU16(out, static_cast<std::uint16_t>(Function::Eof));
    return out;
}

}  // namespace quintrel::wmf
