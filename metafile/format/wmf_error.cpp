#include "metafile/format/wmf_error.h"

namespace quintrel::wmf {

namespace {

const char* what(ErrorCode code) {
    switch (code) {
        case ErrorCode::FileTooLarge:
            return "file too large";
        case ErrorCode::NotPlaceable:
            return "not a Windows Metafile";
        case ErrorCode::Truncated:
            return "file ends inside the header";
        case ErrorCode::BadChecksum:
            return "placeable header checksum mismatch";
        case ErrorCode::EmptyBounds:
            return "empty bounding box or nothing drawn";
        case ErrorCode::ZeroInch:
            return "zero units per inch";
        case ErrorCode::BadMetaHeader:
            return "unknown metafile header";
        case ErrorCode::BadRecordSize:
            return "record size smaller than a record header";
        case ErrorCode::RecordPastEnd:
            return "record reaches past the end of the file";
        case ErrorCode::TooManyRecords:
            return "too many records";
        case ErrorCode::MissingEof:
            return "no end-of-file record";
    }
    return "unknown error";
}

}  // namespace

std::string describe(const Error& error) {
    return std::string(what(error.code)) + " (record " + std::to_string(error.record) +
           ", byte offset " + std::to_string(error.byteOffset) + ")";
}

}  // namespace quintrel::wmf
