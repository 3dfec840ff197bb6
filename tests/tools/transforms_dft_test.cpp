// The relations of the table of pictures (transform_table.h), checked with a real DFT on sampled
// signals whose transforms are known in closed form: a Gaussian pulse (K = 1…4) and a few
// harmonics (K = 5…8). Each row's numerical transforms, applied to samples, must give what its
// variable assignment promises, in both directions; the other assignments must not fit. These
// tests read the table, not the pictures; TransformsPictures.FormulasSayWhatTheTableSays holds
// the pictures' formulas to the same table.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "tests/tools/transform_table.h"

namespace quintrel {
namespace {

using Complex = std::complex<double>;
using Samples = std::vector<Complex>;
constexpr double kPi = std::numbers::pi;

// y_m = scale · Σ_i v_i e^(sign·j·2π·m·i/N): the direct O(N²) sum.
Samples dft(const Samples& v, int sign, double scale) {
    const std::size_t n = v.size();
    Samples out(n);
    for (std::size_t m = 0; m < n; ++m) {
        Complex sum = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const double angle =
                sign * 2 * kPi * static_cast<double>((m * i) % n) / static_cast<double>(n);
            sum += v[i] * Complex(std::cos(angle), std::sin(angle));
        }
        out[m] = scale * sum;
    }
    return out;
}

// Largest difference relative to the largest expected magnitude.
double relativeError(const Samples& got, const Samples& expected) {
    double worst = 0;
    double peak = 0;
    for (std::size_t i = 0; i < got.size(); ++i) {
        worst = std::max(worst, std::abs(got[i] - expected[i]));
        peak = std::max(peak, std::abs(expected[i]));
    }
    return worst / peak;
}

// Frequency of DFT bin n: 0 … up to Nyquist, then the negative frequencies.
double binFrequency(std::size_t n, std::size_t count, double df) {
    const auto i = static_cast<double>(n);
    return n <= count / 2 ? i * df : (i - static_cast<double>(count)) * df;
}

// A sampled problem: the time samples X(tₖ) and the frequency function at the bins, x(fₙ),
// with the grid spacings.
struct Problem {
    Samples time;
    Samples frequency;
    double dt;
    double df;
};

// Gaussian pulse of width tau centred at t0; its continuous transform with exponent
// sign s is x(f) = tau·exp(−π·tau²·f²)·e^(s·j·2π·f·t0).
Problem gaussianPulse(int forwardSign) {
    constexpr std::size_t kN = 128;
    constexpr double kDt = 0.05;  // seconds
    constexpr double kTau = 1.0;
    // Off the middle of the window, so the phase tells the two signs apart.
    const double t0 = 2.9;
    const double df = 1 / (kN * kDt);
    Problem p{Samples(kN), Samples(kN), kDt, df};
    for (std::size_t k = 0; k < kN; ++k) {
        const double t = k * kDt - t0;
        p.time[k] = std::exp(-kPi * t * t / (kTau * kTau));
    }
    for (std::size_t n = 0; n < kN; ++n) {
        const double f = binFrequency(n, kN, df);
        p.frequency[n] = kTau * std::exp(-kPi * kTau * kTau * f * f) *
                         std::polar(1.0, forwardSign * 2 * kPi * f * t0);
    }
    return p;
}

// X(t) = Σ_m c_m e^(−s·j·2π·m·t/T): period T, Fourier coefficients x(f_m) = c_m under
// x(fₙ) = (1/T)∫₀^T X(t) e^(s·j·2π·fₙ·t) dt.
Problem harmonics(int forwardSign) {
    constexpr std::size_t kN = 64;
    constexpr double kDt = 1e-3;
    const double period = kN * kDt;
    const std::pair<int, Complex> coefficients[] = {
        {0, {0.5, 0}}, {1, {1.0, -0.25}}, {-2, {0.3, 0.7}}, {3, {-0.8, 0.1}}, {7, {0, 0.45}}};
    Problem p{Samples(kN), Samples(kN), kDt, 1 / period};
    for (const auto& [m, c] : coefficients) {
        p.frequency[static_cast<std::size_t>((m + static_cast<int>(kN)) % static_cast<int>(kN))] =
            c;
        for (std::size_t k = 0; k < kN; ++k) {
            const double t = k * kDt;
            p.time[k] += c * std::polar(1.0, -forwardSign * 2 * kPi * m * t / period);
        }
    }
    return p;
}

double assignmentScale(Assignment a, const Problem& p) {
    switch (a) {
        case Assignment::DeltaF:
            return p.df;
        case Assignment::OverDeltaT:
            return 1 / p.dt;
        case Assignment::Unit:
            return 1;
        case Assignment::TimesN:
            return static_cast<double>(p.time.size());
    }
    return 0;
}

struct Errors {
    double forward;  // numerical forward transform of X(tₖ) against x′ₙ from the assignment
    double inverse;  // numerical inverse of the assigned x′ₙ against X(tₖ)
};

Errors check(const Problem& p, int forwardSign, bool forwardHasOneOverN, Assignment a) {
    const double n = static_cast<double>(p.time.size());
    const double scale = assignmentScale(a, p);
    Samples assigned(p.frequency.size());
    for (std::size_t i = 0; i < assigned.size(); ++i) {
        assigned[i] = scale * p.frequency[i];
    }
    const Samples forward = dft(p.time, forwardSign, forwardHasOneOverN ? 1 / n : 1);
    const Samples inverse = dft(assigned, -forwardSign, forwardHasOneOverN ? 1 : 1 / n);
    return {relativeError(forward, assigned), relativeError(inverse, p.time)};
}

constexpr double kTolerance = 1e-9;
constexpr double kClearlyWrong = 1e-2;

class TableRelations : public testing::TestWithParam<int> {};

TEST_P(TableRelations, HoldForSampledSignals) {
    const TransformRow& row = transformRow(GetParam());
    const Problem p = row.repetitive ? harmonics(row.forwardSign) : gaussianPulse(row.forwardSign);
    const Errors e = check(p, row.forwardSign, row.forwardHasOneOverN, row.assignment);
    EXPECT_LT(e.forward, kTolerance);
    EXPECT_LT(e.inverse, kTolerance);
}

TEST_P(TableRelations, NoOtherAssignmentOrSignFits) {
    const TransformRow& row = transformRow(GetParam());
    const Problem p = row.repetitive ? harmonics(row.forwardSign) : gaussianPulse(row.forwardSign);
    for (Assignment other :
         {Assignment::DeltaF, Assignment::OverDeltaT, Assignment::Unit, Assignment::TimesN}) {
        if (other != row.assignment) {
            EXPECT_GT(check(p, row.forwardSign, row.forwardHasOneOverN, other).forward,
                      kClearlyWrong)
                << static_cast<int>(other);
        }
    }
    const Errors flipped = check(p, -row.forwardSign, row.forwardHasOneOverN, row.assignment);
    EXPECT_GT(flipped.forward, kClearlyWrong);
    const Errors renormalized = check(p, row.forwardSign, !row.forwardHasOneOverN, row.assignment);
    EXPECT_GT(renormalized.forward, kClearlyWrong);
}

INSTANTIATE_TEST_SUITE_P(Pictures, TableRelations, testing::Range(1, 9),
                         [](const testing::TestParamInfo<int>& param) {
                             return "K" + std::to_string(param.param);
                         });

}  // namespace
}  // namespace quintrel
