// Menu files on disk where Windows makes the failure: a named pipe, a device, a file another
// program holds open without sharing it, and a read-only file.
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "menufile/menu_file_io.h"
#include "tests/menufile/example_file.h"
#include "tests/menufile/menu_test_fixture.h"

namespace quintrel {
namespace {

using testing::expectReadFails;
using testing::expectWriteFails;
using testing::kExampleFile;
using testing::MenuFileFixture;
using testing::readBytes;
using testing::systemMessage;
using testing::writeBytes;

// The folder holds exactly one entry: nothing was left behind beside the file.
void expectOnlyFileIn(const MenuFileFixture& f) {
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.dir.path().toStdString()),
                            std::filesystem::directory_iterator{}),
              1);
}

TEST(ReadMenuFile, PipesAndDevicesAreRefused) {
    MenuFileFixture f;
    const std::string pipe = R"(\\.\pipe\quintrel-menu-test)";
    const HANDLE server = CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1,
                                           4096, 4096, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    expectReadFails(f, pipe, "Not a regular file");
    CloseHandle(server);
    expectReadFails(f, "NUL", "Not a regular file");
}

// Another program has the file open and shares nothing: neither reading nor saving may touch it.
TEST(MenuFileOnWindows, AFileHeldOpenWithoutSharingIsLeftAlone) {
    MenuFileFixture f;
    const std::string path = f.path("held.txt");
    writeBytes(path, kExampleFile);
    const HANDLE held = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::string reason = systemMessage(0, ERROR_SHARING_VIOLATION);
    expectReadFails(f, path, reason);
    f.reporter = {};
    f.window.setText(TextField::Text1, "2");
    expectWriteFails(f, path, reason);
    CloseHandle(held);
    EXPECT_EQ(readBytes(path), kExampleFile);
    expectOnlyFileIn(f);
}

TEST(MenuFileOnWindows, AReadOnlyFileIsNotReplaced) {
    MenuFileFixture f;
    const std::string path = f.path("read-only.txt");
    writeBytes(path, kExampleFile);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    f.window.setText(TextField::Text1, "2");
    f.state.MenuFilePath = path;
    EXPECT_FALSE(WriteMenuFile(f.window, f.state, f.reporter));
    // Windows refuses the opening; Wine run by root opens it, and the attribute refuses.
    ASSERT_EQ(f.reporter.reasons.size(), 1u);
    const std::string& reason = f.reporter.reasons[0];
    EXPECT_TRUE(reason == systemMessage(0, ERROR_ACCESS_DENIED) ||
                reason == "The file is read-only.")
        << reason;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(readBytes(path), kExampleFile);
    expectOnlyFileIn(f);
}

}  // namespace
}  // namespace quintrel
