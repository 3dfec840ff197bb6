#include "metafile/format/wmf_writer.h"

#include <algorithm>

#include "metafile/format/wmf_reader.h"

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

void MetafileWriter::setViewportOrg(std::int16_t x, std::int16_t y) {
    const std::uint16_t p[] = {word(y), word(x)};
    record(Function::SetViewportOrg, p);
}

void MetafileWriter::setViewportExt(std::int16_t x, std::int16_t y) {
    const std::uint16_t p[] = {word(y), word(x)};
    record(Function::SetViewportExt, p);
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

std::uint16_t MetafileWriter::createRegion(std::span<const Rect16> rects) {
    std::vector<std::uint16_t> p = {0, 6, 0, 0, 0, static_cast<std::uint16_t>(rects.size()), 2};
    Rect16 box = rects.empty() ? Rect16{} : rects.front();
    for (const Rect16& r : rects) {
        box = {std::min(box.left, r.left), std::min(box.top, r.top), std::max(box.right, r.right),
               std::max(box.bottom, r.bottom)};
    }
    p.insert(p.end(), {word(box.left), word(box.top), word(box.right), word(box.bottom)});
    for (const Rect16& r : rects) {
        p.insert(p.end(), {2, word(r.top), word(r.bottom), word(r.left), word(r.right), 2});
    }
    p[4] = static_cast<std::uint16_t>(2 * p.size());  // region size in bytes
    record(Function::CreateRegion, p);
    return allocateObject();
}

std::uint16_t MetafileWriter::createDibPatternBrush(std::span<const std::uint8_t> packedDib) {
    std::vector<std::uint16_t> p = {kBsDibPattern, 0};  // style, DIB_RGB_COLORS
    appendBytes(
        p, std::string_view(reinterpret_cast<const char*>(packedDib.data()), packedDib.size()));
    record(Function::DibCreatePatternBrush, p);
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

void MetafileWriter::setTextCharExtra(std::int16_t extra) {
    const std::uint16_t p[] = {word(extra)};
    record(Function::SetTextCharExtra, p);
}

void MetafileWriter::setTextJustification(std::int16_t breakExtra, std::int16_t breakCount) {
    const std::uint16_t p[] = {word(breakCount), word(breakExtra)};
    record(Function::SetTextJustification, p);
}

// The clip rectangles, like the shapes, store bottom, right, top, left.
void MetafileWriter::intersectClipRect(Rect16 r) {
    const std::uint16_t p[] = {word(r.bottom), word(r.right), word(r.top), word(r.left)};
    record(Function::IntersectClipRect, p);
}

void MetafileWriter::excludeClipRect(Rect16 r) {
    const std::uint16_t p[] = {word(r.bottom), word(r.right), word(r.top), word(r.left)};
    record(Function::ExcludeClipRect, p);
}

void MetafileWriter::selectClipRegion(std::uint16_t region) {
    const std::uint16_t p[] = {region};
    record(Function::SelectClipRegion, p);
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

void MetafileWriter::arc(Function kind, Rect16 b, Point16 start, Point16 end) {
    const std::uint16_t p[] = {word(end.y),    word(end.x),   word(start.y), word(start.x),
                               word(b.bottom), word(b.right), word(b.top),   word(b.left)};
    record(kind, p);
}

void MetafileWriter::roundRect(Rect16 r, std::int16_t cornerWidth, std::int16_t cornerHeight) {
    const std::uint16_t p[] = {word(cornerHeight), word(cornerWidth), word(r.bottom),
                               word(r.right),      word(r.top),       word(r.left)};
    record(Function::RoundRect, p);
}

void MetafileWriter::setPixel(std::int16_t x, std::int16_t y, std::uint32_t color) {
    std::vector<std::uint16_t> p;
    appendColor(p, color);
    p.push_back(word(y));
    p.push_back(word(x));
    record(Function::SetPixel, p);
}

void MetafileWriter::dibStretchBlt(Rect16 t, Rect16 s, std::uint32_t rop,
                                   std::span<const std::uint8_t> packedDib) {
    std::vector<std::uint16_t> p;
    appendColor(p, rop);
    p.insert(p.end(),
             {word(static_cast<std::int16_t>(s.bottom - s.top)),
              word(static_cast<std::int16_t>(s.right - s.left)), word(s.top), word(s.left),
              word(static_cast<std::int16_t>(t.bottom - t.top)),
              word(static_cast<std::int16_t>(t.right - t.left)), word(t.top), word(t.left)});
    appendBytes(
        p, std::string_view(reinterpret_cast<const char*>(packedDib.data()), packedDib.size()));
    record(Function::DibStretchBlt, p);
}

void MetafileWriter::appendMetaHeader(std::vector<std::uint8_t>& out) const {
    const auto totalWords =
        static_cast<std::uint32_t>(kMetaHeaderWords + m_body.size() + kRecordHeaderWords);
    putU16(out, 1);  // memory metafile
    putU16(out, kMetaHeaderWords);
    putU16(out, 0x0300);
    putU32(out, totalWords);
    putU16(out, static_cast<std::uint16_t>(m_used.size()));
    putU32(out, m_maxRecordWords);
    putU16(out, 0);  // NumberOfMembers, unused
}

std::vector<std::uint8_t> MetafileWriter::finishStandard() const {
    std::vector<std::uint8_t> placeable = finish();
    return {placeable.begin() + kPlaceableHeaderBytes, placeable.end()};
}

std::vector<std::uint8_t> packDib(int width, int height, std::span<const std::uint32_t> pixels) {
    std::vector<std::uint8_t> out;
    putU32(out, 40);
    putU32(out, static_cast<std::uint32_t>(width));
    putU32(out, static_cast<std::uint32_t>(height));
    putU16(out, 1);   // planes
    putU16(out, 32);  // bits per pixel
    for (int i = 0; i < 6; ++i) {
        putU32(out, 0);  // BI_RGB, image size, resolution, colours used and important
    }
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            putU32(out, pixels[static_cast<std::size_t>(y * width + x)]);
        }
    }
    return out;
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

    appendMetaHeader(out);
    for (std::uint16_t w : m_body) {
        putU16(out, w);
    }
    putU32(out, kRecordHeaderWords);  // META_EOF
    putU16(out, static_cast<std::uint16_t>(Function::Eof));
    return out;
}

}  // namespace quintrel::wmf
