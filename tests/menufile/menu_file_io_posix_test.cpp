// Menu files on disk where the POSIX facilities make the failure: a FIFO, a device, a file-size
// limit (setrlimit), a tiny tmpfs (mount), and folders closed or shared with another user (fork,
// setuid to nobody).
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "menufile/menu_file_io.h"
#include "tests/menufile/example_file.h"
#include "tests/menufile/menu_test_fixture.h"

namespace quintrel {
namespace {

using testing::expectReadFails;
using testing::expectWriteFails;
using testing::kExampleFile;
using testing::kStartStateFile;
using testing::MenuFileFixture;
using testing::readBytes;
using testing::writeBytes;

TEST(ReadMenuFile, PipesAndDevicesAreRefused) {
    MenuFileFixture f;
    const std::string fifo = f.path("pipe.txt");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);  // opening it would wait for a writer
    expectReadFails(f, fifo, "Not a regular file");
    expectReadFails(f, "/dev/zero", "Not a regular file");
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
    expectWriteFails(f, path, "File too large");
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
    expectWriteFails(f, path, "No space left on device");
    EXPECT_EQ(readBytes(path), kExampleFile);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(mountPoint),
                            std::filesystem::directory_iterator{}),
              1);
}

// What a save in a child process did: whether it saved, and each report's text and reason.
struct ChildSave {
    bool saved = false;
    std::vector<std::string> reports;
};

// Where another user saves: the folder's mode and the file's, whether the file is handed over to
// that user, and whether it has a second link, "link.txt" beside its folder.
struct Layout {
    mode_t folderMode;
    mode_t fileMode;
    bool handedOver;
    bool linked;
};

// Writes `previous` to menu.txt in a folder laid out as given, then saves the window's state to it
// as another user. Root may write anywhere, so as root the save runs in a child process that has
// given up its rights to the user "nobody", and the file stays root's unless it is handed over;
// otherwise the child is this user. A fileSizeLimit other than 0 limits the files the child may
// write, with SIGXFSZ ignored so that a write past it fails instead of ending the child.
void saveAsAnotherUser(MenuFileFixture& f, const Layout& layout, std::string_view previous,
                       rlim_t fileSizeLimit, ChildSave& out) {
    const std::string folder = f.path("shared");
    std::filesystem::create_directory(folder);
    f.state.MenuFilePath = folder + "/menu.txt";
    writeBytes(f.state.MenuFilePath, previous);
    ASSERT_EQ(chmod(f.state.MenuFilePath.c_str(), layout.fileMode), 0);
    if (layout.linked) {
        ASSERT_EQ(link(f.state.MenuFilePath.c_str(), f.path("link.txt").c_str()), 0);
    }
    const bool root = geteuid() == 0;
    const passwd* nobody = root ? getpwnam("nobody") : nullptr;
    if (root && nobody == nullptr) {
        GTEST_SKIP() << "running as root and there is no user \"nobody\" to drop to";
    }
    if (root) {
        if (layout.handedOver) {
            ASSERT_EQ(chown(f.state.MenuFilePath.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
        }
        ASSERT_EQ(chmod(f.dir.path().toLocal8Bit().constData(), 0755), 0);
    }
    ASSERT_EQ(chmod(folder.c_str(), layout.folderMode), 0);
    const bool folderWritable = (layout.folderMode & S_IWOTH) != 0;
    int channel[2];
    ASSERT_EQ(pipe(channel), 0);
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        close(channel[0]);
        if (root && (setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 ||
                     setuid(nobody->pw_uid) != 0)) {
            _exit(2);
        }
        if ((access(folder.c_str(), W_OK) == 0) != folderWritable) {
            _exit(2);  // the folder does not allow what the case claims
        }
        const rlimit limit{fileSizeLimit, fileSizeLimit};
        if (fileSizeLimit != 0 &&
            (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || setrlimit(RLIMIT_FSIZE, &limit) != 0)) {
            _exit(2);
        }
        const bool saved = WriteMenuFile(f.window, f.state, f.reporter);
        std::string sent;
        for (std::size_t k = 0; k < f.reporter.messages.size(); ++k) {
            sent += f.reporter.messages[k] + '\0' + f.reporter.reasons[k] + '\0';
        }
        const bool delivered = write(channel[1], sent.data(), sent.size()) == ssize_t(sent.size());
        _exit(saved && delivered ? 0 : delivered ? 1 : 2);
    }
    close(channel[1]);
    std::string received;
    char buffer[4096];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;) {
        received.append(buffer, static_cast<std::size_t>(n));
    }
    close(channel[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    chmod(folder.c_str(), 0755);  // so the temporary folder can be removed
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 2) << "the child could not set up the case or report back";
    out.saved = WEXITSTATUS(status) == 0;
    for (std::size_t pos = 0, end; (end = received.find('\0', pos)) != std::string::npos;
         pos = end + 1) {
        out.reports.push_back(received.substr(pos, end - pos));
    }
}

constexpr Layout kLockedFolder{0555, 0644, true, false};

// A writable file in a folder where no new file can be made is saved in place, whether it was
// shorter or longer before.
TEST(WriteMenuFile, AWritableFileInAReadOnlyFolderIsSaved) {
    MenuFileFixture f;
    for (const std::string& previous : {std::string("previous"), std::string(500, 'x')}) {
        ChildSave save;
        saveAsAnotherUser(f, kLockedFolder, previous, 0, save);
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        EXPECT_TRUE(save.saved);
        EXPECT_TRUE(save.reports.empty());
        EXPECT_EQ(readBytes(f.state.MenuFilePath), kStartStateFile);
    }
}

// Root's file, mode 0666, with a second link, in a folder open to all and in one where only a
// file's owner may rename over it (1777, as /tmp), saved by another user: in place, so that it
// keeps its owner, group, mode and links.
TEST(WriteMenuFile, AFileInASharedFolderStaysWhatItWas) {
    for (const mode_t folderMode : {mode_t{0777}, mode_t{01777}}) {
        SCOPED_TRACE(folderMode);
        MenuFileFixture f;
        ChildSave save;
        saveAsAnotherUser(f, {folderMode, 0666, false, true}, kExampleFile, 0, save);
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        EXPECT_TRUE(save.saved);
        EXPECT_TRUE(save.reports.empty());
        struct stat saved {};
        ASSERT_EQ(stat(f.state.MenuFilePath.c_str(), &saved), 0);
        EXPECT_EQ(saved.st_uid, geteuid());
        EXPECT_EQ(saved.st_gid, getegid());
        EXPECT_EQ(saved.st_mode & 07777, 0666u);
        EXPECT_EQ(saved.st_nlink, 2u);
        EXPECT_EQ(readBytes(f.path("link.txt")), kStartStateFile);
    }
}

// Saved in place, a write that fails part-way puts the previous bytes back.
TEST(WriteMenuFile, AnInPlaceSaveThatFailsPartWayKeepsThePreviousFile) {
    MenuFileFixture f;
    f.window.setText(TextField::Text1, std::string(4000, '5'));
    ChildSave save;
    saveAsAnotherUser(f, kLockedFolder, kExampleFile, 100, save);
    if (IsSkipped() || HasFatalFailure()) {
        return;
    }
    EXPECT_FALSE(save.saved);
    EXPECT_EQ(save.reports,
              (std::vector<std::string>{"Error writing to menu file " + f.state.MenuFilePath,
                                        "File too large"}));
    EXPECT_EQ(readBytes(f.state.MenuFilePath), kExampleFile);
}

}  // namespace
}  // namespace quintrel
