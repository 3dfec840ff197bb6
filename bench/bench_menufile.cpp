// Cost of reading and writing the 60-byte example menu file, with and without the disk.
// Reading includes every handler the read runs and the grid summary; writing includes the
// temporary file, its flush to the disk and the rename that QSaveFile does.
#include <benchmark/benchmark.h>

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
