// Cost of the calculator's hot path: ">>" with its field write, input check and grid summary.
#include <benchmark/benchmark.h>

#include "core/grid_handlers.h"
#include "core/number_text.h"
#include "tests/support/fake_window.h"

namespace {

using quintrel::GridHandlers;
using quintrel::GridState;
using quintrel::testing::FakeWindow;

struct Calculator {
    FakeWindow window;
    GridState state;
    GridHandlers handlers{window, state, "/opt/quintrel"};

    Calculator() {
        window.handlers = &handlers;
        (void)handlers.Form_Load();
        window.setOptionSelected(1, true);                       // with the period line
        window.setSelectedIndex(quintrel::UnitList::Combo2, 2);  // MHz
        window.setText(quintrel::TextField::Text1, "1");
        window.setText(quintrel::TextField::Text2, "8");
    }
};

void BM_ForwardTransferWithSummary(benchmark::State& bench) {
    Calculator calc;
    for (auto _ : bench) {
        calc.window.events.clear();  // the fake's event log would otherwise grow without bound
        const quintrel::GridResult result = calc.handlers.Command1_Click();
        benchmark::DoNotOptimize(result.ok());
        benchmark::DoNotOptimize(calc.window.captions.data());
    }
    if (calc.window.captions[1] != "f_n = 0, 125MHz, ..., 375MHz, 500MHz, -375MHz, ..., -125MHz") {
        bench.SkipWithError("unexpected summary text");
    }
}
BENCHMARK(BM_ForwardTransferWithSummary);

void BM_FormatGeneral(benchmark::State& bench) {
    double value = 124.99999999999999;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(quintrel::FormatGeneral(value, "."));
    }
}
BENCHMARK(BM_FormatGeneral);

void BM_ParseNumber(benchmark::State& bench) {
    for (auto _ : bench) {
        benchmark::DoNotOptimize(quintrel::ParseNumber(" 2.5e-9 ", "."));
    }
}
BENCHMARK(BM_ParseNumber);

}  // namespace

BENCHMARK_MAIN();
