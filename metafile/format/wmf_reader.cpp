#include "metafile/format/wmf_reader.h"

#include "metafile/format/byte_reader.h"

namespace quintrel::wmf {

namespace {

bool isKnownVersion(std::uint16_t version) {
    return version == 0x0100 || version == 0x0300;
}

}  // namespace

std::uint16_t placeableChecksum(std::span<const std::uint8_t> header) {
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i + 1 < header.size() && i < 20; i += 2) {
        sum ^= static_cast<std::uint16_t>(header[i] | (header[i + 1] << 8));
    }
    return sum;
}

ReadResult readMetafile(std::span<const std::uint8_t> bytes) {
    ReadResult result;
    auto fail = [&](ErrorCode code, std::size_t record, std::size_t offset) {
        result.error = Error{code, record, offset};
        return result;
    };
    if (bytes.size() > kMaxFileBytes) {
        return fail(ErrorCode::FileTooLarge, 0, 0);
    }

    ByteReader in(bytes);
    std::uint32_t key = 0;
    if (!in.readU32(key)) {
        return fail(ErrorCode::Truncated, 0, 0);
    }
    const bool placeableFile = key == kPlaceableKey;
    if (placeableFile) {
        PlaceableHeader& placeable = result.metafile.placeable;
        std::uint16_t handle = 0;
        std::uint32_t reserved = 0;
        if (!in.readU16(handle) || !in.readI16(placeable.left) || !in.readI16(placeable.top) ||
            !in.readI16(placeable.right) || !in.readI16(placeable.bottom) ||
            !in.readU16(placeable.inch) || !in.readU32(reserved) ||
            !in.readU16(placeable.checksum)) {
            return fail(ErrorCode::Truncated, 0, in.offset());
        }
        if (placeable.checksum != placeableChecksum(bytes.first(20))) {
            return fail(ErrorCode::BadChecksum, 0, 20);
        }
        if (placeable.left == placeable.right || placeable.top == placeable.bottom) {
            return fail(ErrorCode::EmptyBounds, 0, 6);
        }
        if (placeable.inch == 0) {
            return fail(ErrorCode::ZeroInch, 0, 14);
        }
    } else {
        // A standard metafile starts with META_HEADER itself: type 1 or 2, then 9 words.
        const std::uint16_t type = static_cast<std::uint16_t>(key & 0xFFFF);
        const std::uint16_t words = static_cast<std::uint16_t>(key >> 16);
        if ((type != 1 && type != 2) || words != kMetaHeaderWords) {
            return fail(ErrorCode::NotPlaceable, 0, 0);
        }
        in = ByteReader(bytes);
        result.metafile.frameSource = FrameSource::Unframed;
    }
    const std::size_t headerOffset = in.offset();

    MetaHeader& header = result.metafile.header;
    std::uint16_t headerWords = 0;
    std::uint16_t members = 0;
    if (!in.readU16(header.type) || !in.readU16(headerWords) || !in.readU16(header.version) ||
        !in.readU32(header.sizeWords) || !in.readU16(header.numberOfObjects) ||
        !in.readU32(header.maxRecordWords) || !in.readU16(members)) {
        return fail(ErrorCode::Truncated, 0, in.offset());
    }
    if ((header.type != 1 && header.type != 2) || headerWords != kMetaHeaderWords ||
        !isKnownVersion(header.version)) {
        return fail(ErrorCode::BadMetaHeader, 0, headerOffset);
    }

    // Parameter storage is sized from what the file really holds, never from the header.
    result.metafile.words.reserve(in.remaining() / 2);
    for (std::size_t index = 0;; ++index) {
        const std::size_t start = in.offset();
        if (in.atEnd()) {
            return fail(ErrorCode::MissingEof, index, start);
        }
        if (index >= kMaxRecords) {
            return fail(ErrorCode::TooManyRecords, index, start);
        }
        std::uint32_t sizeWords = 0;
        std::uint16_t function = 0;
        if (!in.readU32(sizeWords) || !in.readU16(function)) {
            return fail(ErrorCode::RecordPastEnd, index, start);
        }
        if (sizeWords < kRecordHeaderWords) {
            return fail(ErrorCode::BadRecordSize, index, start);
        }
        const std::size_t paramWords = sizeWords - kRecordHeaderWords;
        if (paramWords > in.remaining() / 2) {
            return fail(ErrorCode::RecordPastEnd, index, start);
        }
        if (function == static_cast<std::uint16_t>(Function::Eof)) {
            result.metafile.eofOffset = start;
            return result;
        }
        Record record{function, start, result.metafile.words.size(), paramWords};
        for (std::size_t i = 0; i < paramWords; ++i) {
            std::uint16_t word = 0;
            in.readU16(word);  // cannot fail: checked against remaining() above
            result.metafile.words.push_back(word);
        }
        result.metafile.records.push_back(record);
    }
}

}  // namespace quintrel::wmf
