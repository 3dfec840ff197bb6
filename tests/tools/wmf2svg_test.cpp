// An independent reader: Debian's wmf2svg (libwmf) must accept the eight pictures and let
// all of their text through.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "tests/metafile/recording_canvas.h"

namespace quintrel {
namespace {

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Wmf2Svg, AcceptsEveryPictureAndKeepsItsText) {
    if (std::string(QUINTREL_WMF2SVG).empty()) {
        GTEST_SKIP() << "wmf2svg (Debian package libwmf-bin) is not installed";
    }
    const auto scratch = std::filesystem::temp_directory_path() / "quintrel-wmf2svg-test";
    std::filesystem::create_directories(scratch);
    for (int k = 1; k <= 8; ++k) {
        SCOPED_TRACE("picture " + std::to_string(k));
        const std::string picture =
            std::string(QUINTREL_DATA_DIR) + "/transforms" + std::to_string(k) + ".wmf";
        const auto svg = scratch / ("transforms" + std::to_string(k) + ".svg");
        std::filesystem::remove(svg);
        const std::string command =
            std::string(QUINTREL_WMF2SVG) + " -o '" + svg.string() + "' '" + picture + "' 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const std::string out = readText(svg);
        ASSERT_NE(out.find("<svg"), std::string::npos);

        // One <text> element per character; their contents read back the headings.
        std::string contents;
        std::size_t elements = 0;
        const std::regex text("<text[^>]*>([^<]*)</text>");
        for (auto it = std::sregex_iterator(out.begin(), out.end(), text);
             it != std::sregex_iterator(); ++it) {
            contents += (*it)[1].str();
            ++elements;
        }
        EXPECT_NE(contents.find("Actual Transforms"), std::string::npos);
        EXPECT_NE(contents.find("Numerical Transforms"), std::string::npos);
        EXPECT_NE(contents.find("Suggested Variable Assignments"), std::string::npos);
        EXPECT_NE(contents.find("X(t)="), std::string::npos);

        std::ifstream in(picture, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
        std::size_t characters = 0;
        for (const auto& run : wmf::playBytes(bytes).texts) {
            characters += run.bytes.size();
        }
        EXPECT_EQ(elements, characters);
    }
}

}  // namespace
}  // namespace quintrel
