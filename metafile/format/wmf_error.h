// Why a metafile could not be read, with the record and byte offset where reading stopped.
#pragma once

#include <cstddef>
#include <string>

namespace quintrel::wmf {

enum class ErrorCode {
    FileTooLarge,    // the file is larger than kMaxFileBytes
    NotPlaceable,    // the file starts with neither the placeable key 0x9AC6CDD7 nor META_HEADER
    Truncated,       // the file ends inside the placeable header or META_HEADER
    BadChecksum,     // the placeable checksum is not the XOR of the first ten words
    EmptyBounds,     // the placeable bounding box has no width or no height; without one,
                     // neither window records nor drawing give the picture an area
    ZeroInch,        // the placeable header gives 0 units per inch
    BadMetaHeader,   // META_HEADER has an unknown type, header size or version
    BadRecordSize,   // a record claims fewer words than its own header (0 included)
    RecordPastEnd,   // a record reaches past the end of the file
    TooManyRecords,  // more than kMaxRecords records before META_EOF
    MissingEof,      // the records end without a META_EOF record
};

struct Error {
    ErrorCode code;
    std::size_t record = 0;      // 0-based index of the record where reading stopped
    std::size_t byteOffset = 0;  // offset of that record (or header field) in the file
};

// One line for a log or a message box: what went wrong and where.
std::string describe(const Error& error);

}  // namespace quintrel::wmf
