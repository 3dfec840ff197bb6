// Cost of reading and writing the 60-byte example menu file, with and without the disk.
// Reading includes every handler the read runs and the grid summary. A save is split into its
// two parts: serialising the window's state into the file's bytes, and the safe save of those
// bytes (temporary file, sync to the disk, rename), whose sync is the disk's own floor.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QSaveFile>
#include <QTemporaryDir>
#include <fstream>
#include <string>

#include "core/grid_handlers.h"
#include "menufile/file_commands.h"
#include "menufile/menu_file_io.h"
#include "menufile/menu_procedures.h"
#include "menufile/menu_reader.h"
#include "menufile/menu_writer.h"
#include "tests/support/fake_window.h"

namespace {

using namespace quintrel;

constexpr std::string_view kExample =
    "\"1\"\r\n\"8\"\r\n\"125\"\r\n1E-"
    "09\r\n8\r\n125000000\r\n3\r\n2\r\n\"N\"\r\n0\r\n1\r\n\"Y\"\r\n";

class SilentReporter : public MessageReporter {
  public:
    int reports = 0;
    void report(const std::string&) override { ++reports; }
};

struct Window {
    testing::FakeWindow window;
    GridState state;
    GridHandlers handlers{window, state, "/opt/quintrel"};
    SilentReporter reporter;

    Window() {
        window.handlers = &handlers;
        (void)handlers.Form_Load();
    }
};

void BM_ParseExample(benchmark::State& bench) {
    for (auto _ : bench) {
        benchmark::DoNotOptimize(readMenuItems(kExample));
    }
}
BENCHMARK(BM_ParseExample);

void BM_FormatExample(benchmark::State& bench) {
    const auto items = readMenuItems(kExample).value();
    for (auto _ : bench) {
        benchmark::DoNotOptimize(writeMenuItems(items));
    }
}
BENCHMARK(BM_FormatExample);

void BM_ReadMenuFileFromDisk(benchmark::State& bench) {
    QTemporaryDir dir;
    Window w;
    w.state.MenuFilePath = dir.filePath("example.txt").toStdString();
    std::ofstream(w.state.MenuFilePath, std::ios::binary) << kExample;
    for (auto _ : bench) {
        w.window.events.clear();
        ReadMenuFile(w.window, w.handlers, w.state, w.reporter);
    }
    if (w.reporter.reports != 0 || w.state.GridValid != kTrue) {
        bench.SkipWithError("the example did not read");
    }
}
BENCHMARK(BM_ReadMenuFileFromDisk);

// The first part of a save: the twelve items taken from the window and formatted.
void BM_SerialiseWindowState(benchmark::State& bench) {
    Window w;
    (void)putMenuFile(kExample, w.window, w.handlers, w.state);
    for (auto _ : bench) {
        benchmark::DoNotOptimize(writeMenuItems(captureMenuItems(w.window, w.state)));
    }
    if (writeMenuItems(captureMenuItems(w.window, w.state)) != kExample) {
        bench.SkipWithError("the window's state did not serialise to the example");
    }
}
BENCHMARK(BM_SerialiseWindowState);

// The second part: the serialised bytes saved as WriteMenuFile saves them.
void BM_SafeSaveOfSerialisedBytes(benchmark::State& bench) {
    QTemporaryDir dir;
    const QString path = dir.filePath("example.txt");
    const auto size = static_cast<qint64>(kExample.size());
    for (auto _ : bench) {
        QSaveFile file(path);
        const bool saved = file.open(QIODevice::WriteOnly) &&
                           file.write(kExample.data(), size) == size && file.flush() &&
                           file.commit();
        if (!saved) {
            bench.SkipWithError("the bytes were not saved");
            break;
        }
    }
}
BENCHMARK(BM_SafeSaveOfSerialisedBytes);

// The floor under the second part: the same bytes written over an open file and synced to the
// disk, with no temporary file and no rename.
void BM_SyncFloor(benchmark::State& bench) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("example.txt").toStdString();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (auto _ : bench) {
        if (fd < 0 || ::pwrite(fd, kExample.data(), kExample.size(), 0) < 0 || ::fsync(fd) != 0) {
            bench.SkipWithError("the bytes were not written and synced");
            break;
        }
    }
    if (fd >= 0) {
        ::close(fd);
    }
}
BENCHMARK(BM_SyncFloor);

// The whole save, both parts, through WriteMenuFile.
void BM_WriteMenuFileToDisk(benchmark::State& bench) {
    QTemporaryDir dir;
    Window w;
    (void)putMenuFile(kExample, w.window, w.handlers, w.state);
    w.state.MenuFilePath = dir.filePath("example.txt").toStdString();
    for (auto _ : bench) {
        benchmark::DoNotOptimize(WriteMenuFile(w.window, w.state, w.reporter));
    }
    if (w.reporter.reports != 0) {
        bench.SkipWithError("the example was not written");
    }
}
BENCHMARK(BM_WriteMenuFileToDisk);

// For comparison: the same bytes overwriting the file in place, with no temporary file and no
// flush to the disk. The difference to BM_WriteMenuFileToDisk is what the safe save costs.
void BM_PlainOverwriteForComparison(benchmark::State& bench) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("example.txt").toStdString();
    for (auto _ : bench) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << kExample;
    }
}
BENCHMARK(BM_PlainOverwriteForComparison);

}  // namespace

BENCHMARK_MAIN();
