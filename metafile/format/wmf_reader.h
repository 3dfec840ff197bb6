// Reads a Windows Metafile, placeable or not, into its headers and a list of records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "metafile/format/wmf_error.h"
#include "metafile/format/wmf_format.h"

namespace quintrel::wmf {

// Where a metafile's frame (its bounding box in PlaceableHeader) came from.
enum class FrameSource {
    Placeable,        // the placeable header: logical units
    Unframed,         // no placeable header, and the frame not found yet: the player finds it
    WindowRecords,    // no placeable header: the first window origin and extent records
    ViewportRecords,  // a viewport extent record: the viewport it sets, in device units
    DrawnExtent,      // no extent record: the extent of what the records draw, device units
};

// Units per inch assumed for a file without a placeable header: a screen's.
inline constexpr std::uint16_t kStandardInch = 96;

struct PlaceableHeader {
    std::int16_t left = 0;  // bounding box in logical units
    std::int16_t top = 0;
    std::int16_t right = 0;
    std::int16_t bottom = 0;
    std::uint16_t inch = 0;  // logical units per inch, > 0
    std::uint16_t checksum = 0;
};

struct MetaHeader {
    std::uint16_t type = 0;     // 1 memory, 2 disk
    std::uint16_t version = 0;  // 0x0100 or 0x0300
    std::uint32_t sizeWords = 0;
    std::uint16_t numberOfObjects = 0;
    std::uint32_t maxRecordWords = 0;
};

struct Record {
    std::uint16_t function = 0;
    std::size_t byteOffset = 0;  // where the record starts in the file
    std::size_t firstWord = 0;   // index of its first parameter word in Metafile::words
    std::size_t wordCount = 0;   // number of parameter words
};

struct Metafile {
    PlaceableHeader placeable;  // read from the file, or made up from its records
    FrameSource frameSource = FrameSource::Placeable;
    MetaHeader header;
    std::vector<Record> records;       // up to, not including, META_EOF
    std::vector<std::uint16_t> words;  // parameter words of all records, back to back
    std::size_t eofOffset = 0;         // where the META_EOF record starts in the file

    std::span<const std::uint16_t> params(const Record& record) const {
        return std::span<const std::uint16_t>(words).subspan(record.firstWord, record.wordCount);
    }
};

// The records read before reading stopped, and the reason it stopped early, if it did.
// Records before a broken record are kept so a caller may still show them; a caller that
// wants the whole file checks `error`.
struct ReadResult {
    Metafile metafile;
    std::optional<Error> error;

    bool ok() const { return !error.has_value(); }
};

// Reads the headers and records only: a file without a placeable header comes back
// Unframed, its frame left to the player (readPicture).
ReadResult readMetafile(std::span<const std::uint8_t> bytes);

// XOR of the first ten 16-bit words of a placeable header; `header` holds at least 20 bytes.
std::uint16_t placeableChecksum(std::span<const std::uint8_t> header);

}  // namespace quintrel::wmf
