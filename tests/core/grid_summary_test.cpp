#include "core/grid_summary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "core/number_text.h"
#include "core/units.h"

namespace quintrel {
namespace {

GridState validGrid(double timeStep, double points) {
    GridState s;
    s.TimeStep = timeStep;
    s.PointCount = points;
    s.FrequencyStep = 1.0 / (timeStep * points);
    s.GridValid = kTrue;
    return s;
}

TEST(GridSummary, WorkedExamples) {
    struct Case {
        double timeStep, points;
        int timeUnit, frequencyUnit;
        const char *timeGrid, *period, *frequencyGrid;
    };
    const Case cases[] = {
        {1e-9, 8, 3, 2, "t_k = 0, 1ns, ..., 7ns", "T = 8ns",
         "f_n = 0, 125MHz, ..., 375MHz, 500MHz, -375MHz, ..., -125MHz"},
        {1e-9, 8, 3, 3, "t_k = 0, 1ns, ..., 7ns", "T = 8ns",
         "f_n = 0, 0.125GHz, ..., 0.375GHz, 0.5GHz, -0.375GHz, ..., -0.125GHz"},
        {1e-9, 5, 3, 2, "t_k = 0, 1ns, ..., 4ns", "T = 5ns",
         "f_n = 0, 200MHz, ..., 400MHz, -400MHz, ..., -200MHz"},
        {2.5e-6, 10, 2, 1, "t_k = 0, 2.5us, ..., 22.5us", "T = 25us",
         "f_n = 0, 40KHz, ..., 160KHz, 200KHz, -160KHz, ..., -40KHz"},
        // N = 4: M = 1, so each ellipsis spans nothing.
        {1e-9, 4, 3, 2, "t_k = 0, 1ns, ..., 3ns", "T = 4ns",
         "f_n = 0, 250MHz, ..., 250MHz, 500MHz, -250MHz, ..., -250MHz"},
        // Odd N: no Nyquist term; the last positive frequency is (N-1)/2 steps.
        {1e-9, 7, 3, 3, "t_k = 0, 1ns, ..., 6ns", "T = 7ns",
         "f_n = 0, 0.142857142857143GHz, ..., 0.428571428571429GHz, -0.428571428571429GHz, "
         "..., -0.142857142857143GHz"},
        {1e-6, 9, 2, 1, "t_k = 0, 1us, ..., 8us", "T = 9us",
         "f_n = 0, 111.111111111111KHz, ..., 444.444444444444KHz, -444.444444444444KHz, ..., "
         "-111.111111111111KHz"},
        // The same grid shown in picoseconds.
        {1e-9, 8, 4, 2, "t_k = 0, 1000ps, ..., 7000ps", "T = 8000ps",
         "f_n = 0, 125MHz, ..., 375MHz, 500MHz, -375MHz, ..., -125MHz"},
    };
    for (const Case& c : cases) {
        const GridState s = validGrid(c.timeStep, c.points);
        for (bool repetitive : {true, false}) {
            const SummaryTexts t = buildSummary({s, c.timeUnit, c.frequencyUnit, repetitive, "."});
            ASSERT_FALSE(t.error) << c.timeGrid;
            EXPECT_EQ(t.timeGrid, c.timeGrid);
            EXPECT_EQ(t.period, repetitive ? std::string(c.period) : std::string());
            EXPECT_EQ(t.frequencyGrid, c.frequencyGrid);
        }
    }
}

TEST(GridSummary, UsesTheLocaleSeparator) {
    const SummaryTexts t = buildSummary({validGrid(2.5e-6, 10), 2, 3, true, ","});
    EXPECT_EQ(t.timeGrid, "t_k = 0, 2,5us, ..., 22,5us");
    EXPECT_EQ(t.frequencyGrid,
              "f_n = 0, 4E-05GHz, ..., 0,00016GHz, 0,0002GHz, -0,00016GHz, ..., -4E-05GHz");
}

TEST(GridSummary, StopsAtTheFailingLineAndKeepsTheOnesBefore) {
    // (N-1)·Δt·10^15 overflows while Δt·10^15 = 10^308 still fits: nothing is written.
    const SummaryTexts overflowTime = buildSummary({validGrid(1e293, 32767), 5, 3, true, "."});
    EXPECT_EQ(overflowTime.error, GridError::Overflow);
    EXPECT_FALSE(overflowTime.timeGrid);
    EXPECT_FALSE(overflowTime.period);
    EXPECT_FALSE(overflowTime.frequencyGrid);

    // The period N·Δt overflows, the time grid (N-1)·Δt does not.
    GridState edge;
    edge.TimeStep = std::numeric_limits<double>::max() / 4.5;
    edge.PointCount = 5;
    edge.FrequencyStep = 1.0;
    edge.GridValid = kTrue;
    const SummaryTexts period = buildSummary({edge, 0, 0, true, "."});
    EXPECT_EQ(period.error, GridError::Overflow);
    EXPECT_TRUE(period.timeGrid);
    EXPECT_FALSE(period.period);
    // A single pulse needs no period, so the same grid goes through.
    EXPECT_FALSE(buildSummary({edge, 0, 0, false, "."}).error);
}

TEST(GridSummary, MissingUnitSelectionStopsBeforeItsLine) {
    const GridState s = validGrid(1e-9, 8);
    const SummaryTexts noTime = buildSummary({s, -1, 2, true, "."});
    EXPECT_EQ(noTime.error, GridError::NoTimeUnit);
    EXPECT_FALSE(noTime.timeGrid);

    const SummaryTexts noFrequency = buildSummary({s, 3, -1, true, "."});
    EXPECT_EQ(noFrequency.error, GridError::NoFrequencyUnit);
    EXPECT_EQ(noFrequency.timeGrid, "t_k = 0, 1ns, ..., 7ns");
    EXPECT_EQ(noFrequency.period, "T = 8ns");
    EXPECT_FALSE(noFrequency.frequencyGrid);

    EXPECT_EQ(buildSummary({s, 6, 2, true, "."}).error, GridError::NoTimeUnit);
    EXPECT_EQ(buildSummary({s, 3, 5, true, "."}).error, GridError::NoFrequencyUnit);
}

TEST(GridSummary, PointCountsOnlyAMenuFileCanBring) {
    // Not whole: no Nyquist term, M is the largest whole number below N/2.
    GridState s = validGrid(1e-9, 8.5);
    s.FrequencyStep = 1e6;
    const SummaryTexts fraction = buildSummary({s, 3, 2, false, "."});
    EXPECT_EQ(fraction.frequencyGrid, "f_n = 0, 1MHz, ..., 4MHz, -4MHz, ..., -1MHz");
    // M beyond 16 bits is an overflow, after the time lines are written.
    s.PointCount = 65536;  // even: M = 32767, M + 1 does not fit
    EXPECT_EQ(buildSummary({s, 3, 2, false, "."}).error, GridError::Overflow);
    s.PointCount = 1e9;
    const SummaryTexts huge = buildSummary({s, 3, 2, false, "."});
    EXPECT_EQ(huge.error, GridError::Overflow);
    EXPECT_TRUE(huge.timeGrid);
    EXPECT_FALSE(huge.frequencyGrid);
}

// Every number of a summary line, in order: "t_k = 0, 1ns, ..., 7ns" -> {1, 7}.
std::vector<double> numbersIn(const std::string& line, std::string_view unit) {
    std::vector<double> numbers;
    const std::size_t start = line.find(" = ") + 3;
    std::size_t pos = start;
    while (pos < line.size()) {
        std::size_t end = line.find(", ", pos);
        if (end == std::string::npos) {
            end = line.size();
        }
        std::string_view item(line.data() + pos, end - pos);
        if (item != "..." && !(pos == start && item == "0")) {
            EXPECT_TRUE(item.ends_with(unit)) << line;
            item.remove_suffix(unit.size());
            const std::optional<double> value = ParseNumber(item, ".");
            EXPECT_TRUE(value) << item;
            numbers.push_back(value.value_or(NAN));
        }
        pos = end + 2;
    }
    return numbers;
}

void expectFifteenDigits(double shown, long double exact) {
    const long double tolerance = std::fabs(exact) * 6e-15L;
    EXPECT_LE(std::fabs(static_cast<long double>(shown) - exact), tolerance)
        << "shown " << shown << " exact " << static_cast<double>(exact);
}

TEST(GridSummary, EveryNumberMatchesAnIndependentFormula) {
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> decade(-4, 4), points(4, 32767), timeUnit(0, 5),
        frequencyUnit(0, 4);
    for (int run = 0; run < 2000; ++run) {
        const int i = timeUnit(random), j = frequencyUnit(random), n = points(random);
        const double typed = mantissa(random) * std::pow(10.0, decade(random));
        GridState s;
        s.PointCount = n;
        s.TimeStep = typed * timeInputScale(i);
        s.FrequencyStep = 1.0 / (s.TimeStep * s.PointCount);
        s.GridValid = kTrue;
        const SummaryTexts t = buildSummary({s, i, j, true, "."});
        ASSERT_FALSE(t.error);

        // Independent: long double arithmetic on the typed value, no shared helpers.
        const long double dt = static_cast<long double>(typed) * powl(10.0L, -3.0L * i);
        const long double timeScale = powl(10.0L, 3.0L * i);
        const long double frequencyScale = powl(10.0L, -3.0L * j);
        const std::vector<double> times = numbersIn(*t.timeGrid, TimeUnits[i]);
        ASSERT_EQ(times.size(), 2u);
        expectFifteenDigits(times[0], dt * timeScale);
        expectFifteenDigits(times[1], (n - 1) * dt * timeScale);
        const std::vector<double> period = numbersIn(*t.period, TimeUnits[i]);
        ASSERT_EQ(period.size(), 1u);
        expectFifteenDigits(period[0], n * dt * timeScale);

        const int m = (n % 2 == 0) ? n / 2 - 1 : (n - 1) / 2;
        std::vector<int> ks = {1, m};
        if (n % 2 == 0) {
            ks.push_back(n / 2);
        }
        ks.push_back(-m);
        ks.push_back(-1);
        const std::vector<double> frequencies = numbersIn(*t.frequencyGrid, FrequencyUnits[j]);
        ASSERT_EQ(frequencies.size(), ks.size()) << *t.frequencyGrid;
        for (std::size_t k = 0; k < ks.size(); ++k) {
            expectFifteenDigits(frequencies[k], ks[k] / (n * dt) * frequencyScale);
        }
        if (HasFailure()) {
            FAIL() << "typed " << typed << " unit " << i << " N " << n << " frequency unit " << j;
        }
    }
}

}  // namespace
}  // namespace quintrel
