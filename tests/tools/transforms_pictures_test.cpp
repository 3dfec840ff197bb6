// The eight committed formula pictures: they regenerate byte for byte, have the promised
// frame, and say what the table of pictures says.
#include "tools/transforms_pictures.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "metafile/decode/symbol_encoding.h"
#include "tests/metafile/recording_canvas.h"
#include "tests/tools/transform_table.h"

namespace quintrel {
namespace {

std::vector<std::uint8_t> committedPicture(int k) {
    const std::string path =
        std::string(QUINTREL_DATA_DIR) + "/transforms" + std::to_string(k) + ".wmf";
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// The text of a picture, formula by formula: runs in the order they were written, Symbol
// bytes decoded. Keys are "<section>.<column>" for the formulas and "heading<section>".
std::map<std::string, std::string> pictureTexts(const std::vector<std::uint8_t>& bytes) {
    const wmf::RecordingCanvas canvas = wmf::playBytes(bytes);
    // Picture units: sections start at the headings, the right column at 3000.
    std::map<std::string, std::string> texts;
    int section = -1;
    for (const wmf::TextRun& run : canvas.texts) {
        std::string key;
        if (run.font.face == "Arial") {
            ++section;
            key = "heading" + std::to_string(section);
        } else {
            key = std::to_string(section) + (run.reference.x < 3000 ? ".left" : ".right");
            if (section == 2 && run.reference.y > 2100) {
                key = "2.grid";
            }
        }
        for (char byte : run.bytes) {
            const auto code = static_cast<std::uint8_t>(byte);
            appendUtf8(texts[key], run.font.charSet == wmf::kSymbolCharset
                                       ? wmf::symbolToUnicode(code)
                                       : static_cast<char32_t>(code));
        }
    }
    return texts;
}

TEST(TransformsPictures, CommittedFilesRegenerateByteForByte) {
    for (int k = 1; k <= formula_pictures::kTransformsPictureCount; ++k) {
        const std::vector<std::uint8_t> committed = committedPicture(k);
        ASSERT_FALSE(committed.empty()) << "transforms" << k << ".wmf missing";
        EXPECT_TRUE(formula_pictures::buildTransformsPicture(k) == committed)
            << "transforms" << k << ".wmf differs from the generator's output";
    }
}

TEST(TransformsPictures, FrameIsTenByFourInches) {
    for (int k = 1; k <= formula_pictures::kTransformsPictureCount; ++k) {
        const wmf::ReadResult result = wmf::readPicture(committedPicture(k));
        ASSERT_TRUE(result.ok()) << k;
        const wmf::PlaceableHeader& p = result.metafile.placeable;
        EXPECT_EQ(p.right - p.left, 5760);
        EXPECT_EQ(p.bottom - p.top, 2304);
        EXPECT_EQ(p.inch, 576);
        // The window extent record: 6001 × 2401, stored y first.
        bool sawExtent = false;
        for (const wmf::Record& record : result.metafile.records) {
            if (record.function == static_cast<std::uint16_t>(wmf::Function::SetWindowExt)) {
                EXPECT_EQ(result.metafile.params(record)[0], 2401);
                EXPECT_EQ(result.metafile.params(record)[1], 6001);
                sawExtent = true;
            }
        }
        EXPECT_TRUE(sawExtent);
    }
}

TEST(TransformsPictures, EveryRunIsSetWithAFullDxArrayInTheRightFaces) {
    for (int k = 1; k <= formula_pictures::kTransformsPictureCount; ++k) {
        const wmf::RecordingCanvas canvas = wmf::playBytes(committedPicture(k));
        ASSERT_GT(canvas.texts.size(), 50u);
        for (const wmf::TextRun& run : canvas.texts) {
            EXPECT_EQ(run.advances.size(), run.bytes.size()) << run.bytes;
            EXPECT_FALSE(run.font.sizeIsCell);
            if (run.font.charSet == wmf::kSymbolCharset) {
                EXPECT_EQ(run.font.face, "Symbol");
            } else {
                EXPECT_TRUE(run.font.face == "Arial" || run.font.face == "Times New Roman")
                    << run.font.face;
            }
        }
    }
}

TEST(TransformsPictures, ConventionsFollowThePictureNumber) {
    for (int k = 1; k <= formula_pictures::kTransformsPictureCount; ++k) {
        const formula_pictures::PictureConventions c = formula_pictures::pictureConventions(k);
        const TransformRow& row = transformRow(k);
        EXPECT_EQ(c.repetitive, row.repetitive) << k;
        EXPECT_EQ(c.alternateSign, row.forwardSign > 0) << k;
        EXPECT_EQ(c.alternateNormalization, !row.forwardHasOneOverN) << k;
    }
}

// The formulas as text, built from the table of pictures, not from the generator.
TEST(TransformsPictures, FormulasSayWhatTheTableSays) {
    for (int k = 1; k <= formula_pictures::kTransformsPictureCount; ++k) {
        SCOPED_TRACE("picture " + std::to_string(k));
        const TransformRow& row = transformRow(k);
        const std::string forward = row.forwardSign < 0 ? "−" : "";
        const std::string inverse = row.forwardSign > 0 ? "−" : "";
        const std::string oneOverN = "1N";
        auto texts = pictureTexts(committedPicture(k));

        EXPECT_EQ(texts["heading0"], "Actual Transforms");
        EXPECT_EQ(texts["heading1"], "Numerical Transforms");
        EXPECT_EQ(texts["heading2"], "Suggested Variable Assignments");
        if (row.repetitive) {
            EXPECT_EQ(texts["0.left"], "x(fn)=1T∫T0X(t)e" + forward + "j2πfntdt");
            EXPECT_EQ(texts["0.right"], "X(t)=∑∞n=−∞x(fn)e" + inverse + "j2πfnt");
        } else {
            EXPECT_EQ(texts["0.left"], "x(f)=∫∞−∞X(t)e" + forward + "j2πftdt");
            EXPECT_EQ(texts["0.right"], "X(t)=∫∞−∞x(f)e" + inverse + "j2πftdf");
        }
        EXPECT_EQ(texts["1.left"], "x′n=" + (row.forwardHasOneOverN ? oneOverN : "") +
                                       "∑N−1k=0X′ke" + forward + "j(2πn/N)k");
        EXPECT_EQ(texts["1.right"], "X′k=" + (row.forwardHasOneOverN ? "" : oneOverN) +
                                        "∑N−1n=0x′ne" + inverse + "j(2πk/N)n");
        EXPECT_EQ(texts["2.left"], "X′k≅X(tk)");
        const char* assignment[] = {"x′n≅Δf⋅x(fn)", "x′n≅x(fn)/Δt", "x′n≅x(fn)", "x′n≅N⋅x(fn)"};
        EXPECT_EQ(texts["2.right"], assignment[static_cast<int>(row.assignment)]);
        EXPECT_EQ(texts["2.grid"], "tk=kΔt,fn=nΔf,T=NΔt=1/Δf");
    }
}

TEST(TransformsPictures, FractionsAreRealFractions) {
    // 1/N and 1/T are a numerator over a bar over a denominator, not a slash.
    for (int k : {1, 3, 5}) {
        const wmf::RecordingCanvas canvas = wmf::playBytes(committedPicture(k));
        const int expectedBars = k == 5 ? 2 : 1;  // 1/T and 1/N, or one 1/N
        EXPECT_EQ(static_cast<int>(canvas.shapes.size()), expectedBars) << k;
        for (const auto& shape : canvas.shapes) {
            EXPECT_EQ(shape.pen.style, wmf::PenStyle::None);
            EXPECT_EQ(shape.brush.style, wmf::BrushStyle::Solid);
        }
    }
}

}  // namespace
}  // namespace quintrel
