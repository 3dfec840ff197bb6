#include "menufile/menu_file_io.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>

#include "menufile/menu_procedures.h"
#include "menufile/menu_reader.h"
#include "menufile/menu_writer.h"
#include "tests/menufile/example_file.h"
#include "tests/menufile/menu_test_fixture.h"

namespace quintrel {
namespace {

using testing::expectWriteFails;
using testing::kExampleFile;
using testing::MenuFileFixture;
using testing::readBytes;
using testing::writeBytes;

TEST(ReadMenuFile, TheExampleFromDisk) {
    MenuFileFixture f;
    f.state.MenuFilePath = f.path("example.txt");
    writeBytes(f.state.MenuFilePath, kExampleFile);
    ReadMenuFile(f.window, f.handlers, f.state, f.reporter);
    EXPECT_TRUE(f.reporter.messages.empty());
    EXPECT_EQ(f.state.GridValid, kTrue);
    EXPECT_EQ(f.window.caption(SummaryLabel::Label6), "T = 8ns");

    f.state.MenuFilePath = f.path("again.txt");
    EXPECT_TRUE(WriteMenuFile(f.window, f.state, f.reporter));
    EXPECT_EQ(readBytes(f.state.MenuFilePath), kExampleFile);
}

TEST(ReadMenuFile, FilesThatCannotBeReadShowTheMessage) {
    MenuFileFixture f;
    const std::string eleven = f.path("eleven.txt");
    writeBytes(eleven, kExampleFile.substr(0, 55));
    const std::pair<std::string, std::string> cases[] = {
        {f.path("missing.txt"), testing::systemMessage(ENOENT, 2)},  // ERROR_FILE_NOT_FOUND
        {f.path(""), "Is a directory"},
        {eleven, "item 12 at byte 55: the file ends before the last item"},
    };
    for (const auto& [path, reason] : cases) {
        testing::expectReadFails(f, path, reason);
    }
}

TEST(ReadMenuFile, AGigabyteLineIsReadOnlyAsFarAsTheLimit) {
    MenuFileFixture f;
    f.state.MenuFilePath = f.path("huge.txt");
    // A sparse file: a gigabyte of NUL bytes on one line, costing no disk space.
    writeBytes(f.state.MenuFilePath, "");
    std::filesystem::resize_file(f.state.MenuFilePath, std::uintmax_t{1} << 30);
    const auto start = std::chrono::steady_clock::now();
    ReadMenuFile(f.window, f.handlers, f.state, f.reporter);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(f.reporter.messages,
              std::vector<std::string>{"Error reading from menu file " + f.state.MenuFilePath});
    EXPECT_EQ(f.window.texts[0], "");
}

TEST(WriteMenuFile, ReplacesTheWholeFile) {
    MenuFileFixture f;
    f.state.MenuFilePath = f.path("menu.txt");
    writeBytes(f.state.MenuFilePath, std::string(500, 'x'));
    EXPECT_TRUE(WriteMenuFile(f.window, f.state, f.reporter));
    EXPECT_EQ(readBytes(f.state.MenuFilePath), testing::kStartStateFile);
    EXPECT_TRUE(f.reporter.messages.empty());
}

TEST(WriteMenuFile, AMissingFolderShowsTheMessage) {
    MenuFileFixture f;
    expectWriteFails(f, f.path("no such folder/menu.txt"),
                     testing::systemMessage(ENOENT, 3));  // ERROR_PATH_NOT_FOUND
}

TEST(WriteMenuFile, AFolderThatIsAFileShowsTheMessage) {
    MenuFileFixture f;
    writeBytes(f.path("plain"), "x");
    expectWriteFails(f, f.path("plain/menu.txt"),
                     testing::systemMessage(ENOTDIR, 3));  // ERROR_PATH_NOT_FOUND
    EXPECT_EQ(readBytes(f.path("plain")), "x");
}

}  // namespace
}  // namespace quintrel
