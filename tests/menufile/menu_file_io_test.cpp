#include "menufile/menu_file_io.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>

#include "menufile/menu_procedures.h"
#include "menufile/menu_reader.h"
#include "menufile/menu_writer.h"
#include "tests/menufile/example_file.h"
#include "tests/menufile/menu_test_fixture.h"

namespace quintrel {
namespace {

using testing::exampleItems;
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
    const std::string fifo = f.path("pipe.txt");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);  // opening it would wait for a writer
    const std::string eleven = f.path("eleven.txt");
    writeBytes(eleven, kExampleFile.substr(0, 55));
    for (const std::string& path :
         {f.path("missing.txt"), f.path(""), fifo, std::string("/dev/zero"), eleven}) {
        SCOPED_TRACE(path);
        f.reporter.messages.clear();
        f.state.MenuFilePath = path;
        f.state.GridValid = kTrue;
        ReadMenuFile(f.window, f.handlers, f.state, f.reporter);
        EXPECT_EQ(f.reporter.messages,
                  std::vector<std::string>{"Error reading from menu file " + path});
        EXPECT_EQ(f.state.GridValid, kFalse);
        EXPECT_EQ(f.state.MenuFilePath, path);
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
    EXPECT_EQ(readBytes(f.state.MenuFilePath),
              "\"\"\r\n\"\"\r\n\"\"\r\n0\r\n0\r\n0\r\n3\r\n3\r\n\"N\"\r\n0\r\n0\r\n\"N\"\r\n");
    EXPECT_TRUE(f.reporter.messages.empty());
}

// Writes the window's state to `path` and expects the message and no change to the window or
// GridState.
void expectWriteFails(MenuFileFixture& f, const std::string& path) {
    const MenuItems before = captureMenuItems(f.window, f.state);
    const std::size_t events = f.window.events.size();
    f.state.MenuFilePath = path;
    EXPECT_FALSE(WriteMenuFile(f.window, f.state, f.reporter));
    EXPECT_EQ(f.reporter.messages, std::vector<std::string>{"Error writing to menu file " + path});
    EXPECT_EQ(captureMenuItems(f.window, f.state), before);
    EXPECT_EQ(f.window.events.size(), events);
    EXPECT_EQ(f.state.MenuFilePath, path);
}

TEST(WriteMenuFile, AMissingFolderShowsTheMessage) {
    MenuFileFixture f;
    expectWriteFails(f, f.path("no such folder/menu.txt"));
}

TEST(WriteMenuFile, AFolderThatIsAFileShowsTheMessage) {
    MenuFileFixture f;
    writeBytes(f.path("plain"), "x");
    expectWriteFails(f, f.path("plain/menu.txt"));
    EXPECT_EQ(readBytes(f.path("plain")), "x");
}

// A file-size limit makes the write fail part-way, after some bytes are on disk: the previous
// file must still be there, byte for byte, and no temporary file may be left behind.
TEST(WriteMenuFile, ASaveThatFailsPartWayKeepsThePreviousFile) {
    MenuFileFixture f;
    const std::string path = f.path("menu.txt");
    writeBytes(path, kExampleFile);
    f.window.setText(TextField::Text1, std::string(4000, '5'));  // more than the limit below

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    expectWriteFails(f, path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(readBytes(path), kExampleFile);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.dir.path().toStdString()),
                            std::filesystem::directory_iterator{}),
              1);
}

// The same on a full filesystem: a 4 KiB tmpfs that the previous file already fills. Needs the
// right to mount, so it is skipped where that is missing.
TEST(WriteMenuFile, ASaveToAFullDiskKeepsThePreviousFile) {
    MenuFileFixture f;
    const std::string mountPoint = f.path("small");
    std::filesystem::create_directory(mountPoint);
    if (mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=4k") != 0) {
        GTEST_SKIP() << "cannot mount a small tmpfs here";
    }
    struct Unmount {
        std::string point;
        ~Unmount() { umount(point.c_str()); }
    } unmount{mountPoint};
    const std::string path = mountPoint + "/menu.txt";
    writeBytes(path, kExampleFile);
    f.window.setText(TextField::Text1, "2");
    expectWriteFails(f, path);
    EXPECT_EQ(readBytes(path), kExampleFile);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(mountPoint),
                            std::filesystem::directory_iterator{}),
              1);
}

// A writable file in a folder where no new file can be made (so no temporary file either) is
// saved in place. Root may write anywhere, so as root the save runs in a child process that has
// given up its rights to the user "nobody".
TEST(WriteMenuFile, AWritableFileInAReadOnlyFolderIsSaved) {
    MenuFileFixture f;
    const std::string folder = f.path("locked");
    std::filesystem::create_directory(folder);
    const std::string path = folder + "/menu.txt";
    writeBytes(path, "previous");
    f.state.MenuFilePath = path;
    const bool root = geteuid() == 0;
    const passwd* nobody = root ? getpwnam("nobody") : nullptr;
    if (root && nobody == nullptr) {
        GTEST_SKIP() << "running as root and there is no user \"nobody\" to drop to";
    }
    if (root) {
        ASSERT_EQ(chown(path.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
        ASSERT_EQ(chmod(f.dir.path().toLocal8Bit().constData(), 0755), 0);
    }
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);

    bool saved = false;
    if (root) {
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            if (setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 ||
                setuid(nobody->pw_uid) != 0 || access(folder.c_str(), W_OK) == 0) {
                _exit(2);  // still allowed to write the folder: the case is not what it claims
            }
            _exit(WriteMenuFile(f.window, f.state, f.reporter) ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        ASSERT_NE(WEXITSTATUS(status), 2) << "could not give up root's rights";
        saved = WEXITSTATUS(status) == 0;
    } else {
        saved = WriteMenuFile(f.window, f.state, f.reporter);
    }
    chmod(folder.c_str(), 0755);  // so the temporary folder can be removed
    EXPECT_TRUE(saved);
    EXPECT_TRUE(f.reporter.messages.empty());
    EXPECT_EQ(readBytes(path), writeMenuItems(captureMenuItems(f.window, f.state)));
}

}  // namespace
}  // namespace quintrel
