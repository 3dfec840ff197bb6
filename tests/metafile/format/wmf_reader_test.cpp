// Reading placeable metafiles: headers, record walking and every way a file can be broken.
#include "metafile/format/wmf_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "metafile/format/wmf_writer.h"

namespace quintrel::wmf {
namespace {

std::vector<std::uint8_t> smallPicture() {
    MetafileWriter writer({0, 0, 1000, 500}, 1000);
    writer.setWindowExt(1000, 500);
    const std::uint16_t pen = writer.createPen(kPsSolid, 3, rgb(1, 2, 3));
    writer.selectObject(pen);
    const std::int16_t dx[] = {10, 11, 12};
    writer.extTextOut(5, 6, 0, {}, "abc", dx);
    const Point16 points[] = {{0, 0}, {10, 10}, {20, 0}};
    writer.polyline(points);
    return writer.finish();
}

void putU16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void putU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    putU16(bytes, at, static_cast<std::uint16_t>(value & 0xFFFF));
    putU16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

std::uint16_t u16At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

std::uint32_t u32At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return u16At(bytes, at) | (static_cast<std::uint32_t>(u16At(bytes, at + 2)) << 16);
}

// Recomputes the placeable checksum after a test edited the header.
void fixChecksum(std::vector<std::uint8_t>& bytes) {
    putU16(bytes, 20, placeableChecksum(std::span(bytes).first(20)));
}

constexpr std::size_t kFirstRecord = kPlaceableHeaderBytes + kMetaHeaderBytes;

TEST(WmfReader, ReadsWhatTheWriterWrote) {
    const ReadResult result = readMetafile(smallPicture());
    ASSERT_TRUE(result.ok()) << describe(*result.error);
    const Metafile& m = result.metafile;
    EXPECT_EQ(m.placeable.right, 1000);
    EXPECT_EQ(m.placeable.bottom, 500);
    EXPECT_EQ(m.placeable.inch, 1000);
    ASSERT_EQ(m.records.size(), 5u);
    EXPECT_EQ(m.records[0].function, static_cast<std::uint16_t>(Function::SetWindowExt));
    EXPECT_EQ(m.records[0].byteOffset, kFirstRecord);
    // y first, then x.
    EXPECT_EQ(m.params(m.records[0])[0], 500);
    EXPECT_EQ(m.params(m.records[0])[1], 1000);
    // EXTTEXTOUT: y, x, length, options, "ab", "c\0", dx × 3.
    const auto text = m.params(m.records[3]);
    ASSERT_EQ(text.size(), 9u);
    EXPECT_EQ(text[4], 'a' | ('b' << 8));
    EXPECT_EQ(text[5], 'c');
    EXPECT_EQ(text[8], 12);
}

TEST(WmfReader, WriterFillsTheHeaderExactly) {
    const std::vector<std::uint8_t> bytes = smallPicture();
    EXPECT_EQ(u32At(bytes, 0), kPlaceableKey);
    // The checksum is the XOR of the ten words before it.
    std::uint16_t checksum = 0;
    for (std::size_t at = 0; at < 20; at += 2) {
        checksum ^= u16At(bytes, at);
    }
    EXPECT_EQ(u16At(bytes, 20), checksum);
    const ReadResult result = readMetafile(bytes);
    ASSERT_TRUE(result.ok());
    const MetaHeader& h = result.metafile.header;
    EXPECT_EQ(h.sizeWords * 2, bytes.size() - kPlaceableHeaderBytes);
    EXPECT_EQ(h.numberOfObjects, 1);
    // The largest record is the EXTTEXTOUT: 3 header words + 9 parameters.
    EXPECT_EQ(h.maxRecordWords, 12u);
}

TEST(WmfReader, WriterTakesTheLowestFreeObjectIndex) {
    MetafileWriter writer({0, 0, 10, 10}, 100);
    EXPECT_EQ(writer.createPen(kPsSolid, 1, 0), 0);
    EXPECT_EQ(writer.createBrush(kBsSolid, 0), 1);
    EXPECT_EQ(writer.createPen(kPsSolid, 1, 0), 2);
    writer.deleteObject(0);
    EXPECT_EQ(writer.createFont(LogFont{}), 0);
    EXPECT_EQ(writer.createFont(LogFont{}), 3);
    const ReadResult result = readMetafile(writer.finish());
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.metafile.header.numberOfObjects, 4);
}

struct BrokenFile {
    const char* name;
    void (*edit)(std::vector<std::uint8_t>&);
    ErrorCode code;
    std::size_t record;
    std::size_t offset;
};

void PrintTo(const BrokenFile& file, std::ostream* out) {
    *out << file.name;
}

class WmfReaderRejects : public testing::TestWithParam<BrokenFile> {};

TEST_P(WmfReaderRejects, SaysWhatAndWhere) {
    std::vector<std::uint8_t> bytes = smallPicture();
    GetParam().edit(bytes);
    const ReadResult result = readMetafile(bytes);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error->code, GetParam().code) << describe(*result.error);
    EXPECT_EQ(result.error->record, GetParam().record);
    EXPECT_EQ(result.error->byteOffset, GetParam().offset);
}

// Offsets of the five records of smallPicture(): sizes 5, 8, 4, 12 and 10 words.
constexpr std::size_t kRecord1 = kFirstRecord + 10;
constexpr std::size_t kRecord3 = kFirstRecord + 10 + 16 + 8;
constexpr std::size_t kEofRecord = kRecord3 + 24 + 20;

INSTANTIATE_TEST_SUITE_P(
    Cases, WmfReaderRejects,
    testing::Values(
        BrokenFile{"Empty", [](auto& b) { b.clear(); }, ErrorCode::Truncated, 0, 0},
        BrokenFile{"NotPlaceable", [](auto& b) { b[0] ^= 1; }, ErrorCode::NotPlaceable, 0, 0},
        BrokenFile{"EndsInPlaceable", [](auto& b) { b.resize(15); }, ErrorCode::Truncated, 0, 14},
        BrokenFile{"EndsInMetaHeader", [](auto& b) { b.resize(30); }, ErrorCode::Truncated, 0, 28},
        BrokenFile{"BadChecksum", [](auto& b) { b[20] ^= 0x40; }, ErrorCode::BadChecksum, 0, 20},
        BrokenFile{"EmptyBounds",
                   [](auto& b) {
                       putU16(b, 10, 0);  // right = left
                       fixChecksum(b);
                   },
                   ErrorCode::EmptyBounds, 0, 6},
        BrokenFile{"ZeroInch",
                   [](auto& b) {
                       putU16(b, 14, 0);
                       fixChecksum(b);
                   },
                   ErrorCode::ZeroInch, 0, 14},
        BrokenFile{"UnknownVersion", [](auto& b) { putU16(b, 26, 0x0200); },
                   ErrorCode::BadMetaHeader, 0, 22},
        BrokenFile{"RecordSizeZero", [](auto& b) { putU32(b, kRecord1, 0); },
                   ErrorCode::BadRecordSize, 1, kRecord1},
        BrokenFile{"RecordSizeTwo", [](auto& b) { putU32(b, kRecord3, 2); },
                   ErrorCode::BadRecordSize, 3, kRecord3},
        BrokenFile{"RecordPastEnd", [](auto& b) { putU32(b, kRecord3, 0x40000000); },
                   ErrorCode::RecordPastEnd, 3, kRecord3},
        BrokenFile{"RecordHeaderCut", [](auto& b) { b.resize(kEofRecord + 4); },
                   ErrorCode::RecordPastEnd, 5, kEofRecord},
        BrokenFile{"NoEofRecord", [](auto& b) { b.resize(kEofRecord); }, ErrorCode::MissingEof, 5,
                   kEofRecord}),
    [](const testing::TestParamInfo<BrokenFile>& param) { return std::string(param.param.name); });

TEST(WmfReader, KeepsTheRecordsBeforeABrokenOne) {
    std::vector<std::uint8_t> bytes = smallPicture();
    putU32(bytes, kRecord3, 0);
    const ReadResult result = readMetafile(bytes);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.metafile.records.size(), 3u);
}

TEST(WmfReader, IgnoresTheHeaderSizesItCannotTrust) {
    // Huge Size, object count and MaxRecord must neither be believed nor allocated.
    std::vector<std::uint8_t> bytes = smallPicture();
    putU32(bytes, 28, 0xFFFFFFFF);
    putU16(bytes, 32, 0xFFFF);
    putU32(bytes, 34, 0xFFFFFFFF);
    const ReadResult result = readMetafile(bytes);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.metafile.records.size(), 5u);
    EXPECT_LE(result.metafile.words.capacity(), bytes.size() / 2);
}

TEST(WmfReader, RefusesOversizedFilesAndEndlessRecordLists) {
    std::vector<std::uint8_t> huge(kMaxFileBytes + 1, 0);
    EXPECT_EQ(readMetafile(huge).error->code, ErrorCode::FileTooLarge);

    // One more SAVEDC record than the reader accepts.
    MetafileWriter writer({0, 0, 10, 10}, 100);
    for (std::size_t i = 0; i <= kMaxRecords; ++i) {
        writer.saveDc();
    }
    const ReadResult result = readMetafile(writer.finish());
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error->code, ErrorCode::TooManyRecords);
    EXPECT_EQ(result.error->record, kMaxRecords);
}

TEST(WmfReader, DescribesErrorsWithRecordAndOffset) {
    EXPECT_EQ(describe(Error{ErrorCode::RecordPastEnd, 7, 118}),
              "record reaches past the end of the file (record 7, byte offset 118)");
}

}  // namespace
}  // namespace quintrel::wmf
