#include "tools/transforms_pictures.h"

#include <cmath>
#include <string_view>

#include "metafile/format/wmf_writer.h"
#include "tools/formula_layout.h"

namespace quintrel::formula_pictures {

namespace {

// Picture geometry.
constexpr wmf::Rect16 kBounds{0, 0, 5760, 2304};
constexpr std::uint16_t kUnitsPerInch = 576;
constexpr std::int16_t kExtentX = 6001;
constexpr std::int16_t kExtentY = 2401;

// Font sizes (em heights in logical units, about 600 to the inch).
constexpr int kHeading = 150;
constexpr int kMain = 180;
constexpr int kScript = 120;
constexpr int kScript2 = 95;
constexpr int kSum = 290;
constexpr int kIntegral = 330;

// Layout: left edges and baselines of the three sections.
constexpr int kHeadingX = 150;
constexpr int kLeftColumn = 400;
constexpr int kRightColumn = 3250;
constexpr int kHeadingBaselines[3] = {200, 950, 1770};
constexpr int kFormulaBaselines[3] = {570, 1350, 2020};
constexpr int kGridBaseline = 2290;

// Symbol-encoded characters.
constexpr std::string_view kMinus = "-";
constexpr std::string_view kPi = "p";
constexpr std::string_view kDelta = "D";
constexpr std::string_view kSigma = "\xE5";  // the n-ary summation sign
constexpr std::string_view kIntegralSign = "\xF2";
constexpr std::string_view kInfinity = "\xA5";
constexpr std::string_view kPrime = "\xA2";
constexpr std::string_view kCongruent = "@";
constexpr std::string_view kDot = "\xD7";

int perMille(int size, int value) {
    return static_cast<int>(std::lround(size * value / 1000.0));
}

Box I(std::string_view s, int size = kMain) {
    return text(Face::Italic, size, s);
}
Box R(std::string_view s, int size = kMain) {
    return text(Face::Roman, size, s);
}
Box Sy(std::string_view s, int size = kMain) {
    return text(Face::Symbol, size, s);
}

// Spaces around relations and between factors.
Box relation(Box symbol) {
    return row({space(perMille(kMain, 280)), std::move(symbol), space(perMille(kMain, 280))});
}
Box equals() {
    return relation(R("="));
}
Box thin() {
    return space(perMille(kMain, 170));
}

Box subscript(Box base, Box sub, int baseSize) {
    return scripts(std::move(base), std::nullopt, 0, std::move(sub), perMille(baseSize, 250));
}

Box superscript(Box base, Box sup, int baseSize) {
    return scripts(std::move(base), std::move(sup), perMille(baseSize, 420), std::nullopt, 0);
}

// x′ₙ, X′ₖ: the prime sits high in the Symbol font, so it stays on the baseline.
Box primed(std::string_view letter, std::string_view index) {
    return scripts(I(letter), Sy(kPrime), 0, I(index, kScript), perMille(kMain, 250));
}

Box call(std::string_view name, Box argument) {
    return row({I(name), R("("), std::move(argument), R(")")});
}

Box fn(int size, int indexSize) {
    return subscript(I("f", size), I("n", indexSize), size);
}

// A big operator lowered so its middle sits on the maths axis.
Box axisCentred(std::string_view glyph, int size) {
    Box op = Sy(glyph, size);
    const int middle = (op.ascent - op.descent) / 2;
    return scripts(space(0), std::nullopt, 0, std::move(op), middle - perMille(kMain, 266));
}

// Σ with its limits centred above and below.
Box sum(Box upper, Box lower) {
    Box op = limits(axisCentred(kSigma, kSum), std::move(upper), std::move(lower),
                    perMille(kScript, 150));
    return row({std::move(op), space(perMille(kMain, 100))});
}

// ∫ with its limits at the upper right and, tucked under the slant, the lower right.
Box integral(Box upper, Box lower) {
    Box op = axisCentred(kIntegralSign, kIntegral);
    const int width = op.width;
    const int top = -op.ascent + upper.ascent;
    const int bottom = op.descent;
    Box out = overlay(std::move(op), upper, width + perMille(width, 20), top);
    out = overlay(std::move(out), lower, width - perMille(width, 420), bottom);
    return row({std::move(out), space(perMille(kMain, 120))});
}

Box minusInfinity() {
    return row({Sy(kMinus, kScript), Sy(kInfinity, kScript)});
}

// e^(∓j2πft) or e^(∓j2πfₙt) with the sign of `negative`.
Box actualExponent(bool negative, bool harmonic) {
    Box frequency = harmonic ? fn(kScript, kScript2) : I("f", kScript);
    Box power = row({negative ? Sy(kMinus, kScript) : space(0), I("j", kScript), R("2", kScript),
                     Sy(kPi, kScript), std::move(frequency), I("t", kScript)});
    return superscript(I("e"), std::move(power), kMain);
}

// e^(∓j(2πn/N)k) with index `inner` inside the bracket and `outer` after it.
Box numericalExponent(bool negative, std::string_view inner, std::string_view outer) {
    Box power = row({negative ? Sy(kMinus, kScript) : space(0), I("j", kScript), R("(2", kScript),
                     Sy(kPi, kScript), I(inner, kScript), R("/", kScript), I("N", kScript),
                     R(")", kScript), I(outer, kScript)});
    return superscript(I("e"), std::move(power), kMain);
}

Box sumOverGrid(std::string_view index) {
    return sum(row({I("N", kScript), Sy(kMinus, kScript), R("1", kScript)}),
               row({I(index, kScript), R("=", kScript), R("0", kScript)}));
}

Box oneOver(std::string_view letter) {
    return fraction(R("1"), I(letter), kMain);
}

// Forward (time → frequency) and inverse actual transforms.
Box actualForward(const PictureConventions& c) {
    const bool negative = !c.alternateSign;
    if (c.repetitive) {
        return row({call("x", fn(kMain, kScript)), equals(), oneOver("T"), thin(),
                    integral(I("T", kScript), R("0", kScript)), call("X", I("t")), thin(),
                    actualExponent(negative, true), thin(), I("dt")});
    }
    return row({call("x", I("f")), equals(), integral(Sy(kInfinity, kScript), minusInfinity()),
                call("X", I("t")), thin(), actualExponent(negative, false), thin(), I("dt")});
}

Box actualInverse(const PictureConventions& c) {
    const bool negative = c.alternateSign;
    if (c.repetitive) {
        return row(
            {call("X", I("t")), equals(),
             sum(Sy(kInfinity, kScript), row({I("n", kScript), R("=", kScript), minusInfinity()})),
             call("x", fn(kMain, kScript)), thin(), actualExponent(negative, true)});
    }
    return row({call("X", I("t")), equals(), integral(Sy(kInfinity, kScript), minusInfinity()),
                call("x", I("f")), thin(), actualExponent(negative, false), thin(), I("df")});
}

Box numericalForward(const PictureConventions& c) {
    Box scale = c.alternateNormalization ? space(0) : row({oneOver("N"), thin()});
    return row({primed("x", "n"), equals(), std::move(scale), sumOverGrid("k"), primed("X", "k"),
                thin(), numericalExponent(!c.alternateSign, "n", "k")});
}

Box numericalInverse(const PictureConventions& c) {
    Box scale = c.alternateNormalization ? row({oneOver("N"), thin()}) : space(0);
    return row({primed("X", "k"), equals(), std::move(scale), sumOverGrid("n"), primed("x", "n"),
                thin(), numericalExponent(c.alternateSign, "k", "n")});
}

Box timeAssignment() {
    return row({primed("X", "k"), relation(Sy(kCongruent)),
                call("X", subscript(I("t"), I("k", kScript), kMain))});
}

// x′ₙ ≅ Δf·x(fₙ), x(fₙ)/Δt, x(fₙ) or N·x(fₙ): what the numerical transform approximates.
Box frequencyAssignment(const PictureConventions& c) {
    Box sample = call("x", fn(kMain, kScript));
    Box value;
    if (!c.repetitive && !c.alternateNormalization) {
        value = row({Sy(kDelta), I("f"), Sy(kDot), std::move(sample)});
    } else if (!c.repetitive) {
        value = row({std::move(sample), R("/"), Sy(kDelta), I("t")});
    } else if (!c.alternateNormalization) {
        value = std::move(sample);
    } else {
        value = row({I("N"), Sy(kDot), std::move(sample)});
    }
    return row({primed("x", "n"), relation(Sy(kCongruent)), std::move(value)});
}

Box gridDefinitions() {
    Box comma = row({R(","), space(perMille(kMain, 900))});
    return row({subscript(I("t"), I("k", kScript), kMain),
                equals(),
                I("k"),
                Sy(kDelta),
                I("t"),
                comma,
                fn(kMain, kScript),
                equals(),
                I("n"),
                Sy(kDelta),
                I("f"),
                comma,
                I("T"),
                equals(),
                I("N"),
                Sy(kDelta),
                I("t"),
                equals(),
                R("1/"),
                Sy(kDelta),
                I("f")});
}

}  // namespace

PictureConventions pictureConventions(int k) {
    const int bits = k - 1;
    return PictureConventions{(bits & 4) != 0, (bits & 2) != 0, (bits & 1) != 0};
}

std::vector<std::uint8_t> buildTransformsPicture(int k) {
    const PictureConventions c = pictureConventions(k);
    wmf::MetafileWriter writer(kBounds, kUnitsPerInch);
    writer.setMapMode(wmf::kMmAnisotropic);
    writer.setWindowOrg(0, 0);
    writer.setWindowExt(kExtentX, kExtentY);
    writer.setBkMode(wmf::kTransparent);
    writer.setTextColor(wmf::rgb(0, 0, 0));
    writer.setTextAlign(wmf::kTaBaseline | wmf::kTaLeft);

    // Fraction bars are filled rectangles without an outline.
    writer.selectObject(writer.createPen(wmf::kPsNull, 0, wmf::rgb(0, 0, 0)));
    writer.selectObject(writer.createBrush(wmf::kBsSolid, wmf::rgb(0, 0, 0)));

    BoxEmitter emitter(writer);
    const char* headings[3] = {"Actual Transforms", "Numerical Transforms",
                               "Suggested Variable Assignments"};
    const Box left[3] = {actualForward(c), numericalForward(c), timeAssignment()};
    const Box right[3] = {actualInverse(c), numericalInverse(c), frequencyAssignment(c)};
    for (int s = 0; s < 3; ++s) {
        emitter.emit(text(Face::Heading, kHeading, headings[s]), kHeadingX, kHeadingBaselines[s]);
        emitter.emit(left[s], kLeftColumn, kFormulaBaselines[s]);
        emitter.emit(right[s], kRightColumn, kFormulaBaselines[s]);
    }
    emitter.emit(gridDefinitions(), kLeftColumn, kGridBaseline);
    return writer.finish();
}

}  // namespace quintrel::formula_pictures
