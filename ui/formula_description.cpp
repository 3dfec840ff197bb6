#include "ui/formula_description.h"

#include "core/formula_picture.h"

namespace quintrel {

namespace {

// In the pictures X is the time function and x the frequency function; primes mark the sampled
// sequences of the numerical transforms.
std::string exponent(bool negative, const char* power) {
    return std::string("e to the power ") + (negative ? "minus j " : "j ") + power;
}

}  // namespace

std::string formulaDescription(int k) {
    if (k < 1 || k > kPictureCount) {
        return {};
    }
    const int bits = k - 1;
    const bool repetitive = (bits & 4) != 0;
    const bool alternateNormalization = (bits & 2) != 0;
    const bool alternateSign = (bits & 1) != 0;
    // The forward transforms (time to frequency) take the minus sign unless the sign is swapped.
    const bool forwardNegative = !alternateSign;

    std::string text = repetitive
                           ? "Formulas for a repetitive signal with period T and finite power"
                           : "Formulas for a single pulse with finite energy";
    text += alternateNormalization ? ", alternate normalization (1 over N on the inverse "
                                     "numerical transform)"
                                   : ", usual normalization (1 over N on the forward numerical "
                                     "transform)";
    text += alternateSign ? ", alternate sign convention (plus j in the forward transforms). "
                          : ", usual sign convention (minus j in the forward transforms). ";

    text += "Capital X is the time function, small x the frequency function. Actual transforms: ";
    if (repetitive) {
        text += "x of f n equals 1 over T times the integral from 0 to T of X of t times " +
                exponent(forwardNegative, "2 pi f n t") + ", d t; ";
        text += "X of t equals the sum for n from minus infinity to infinity of x of f n times " +
                exponent(!forwardNegative, "2 pi f n t") + ". ";
    } else {
        text += "x of f equals the integral from minus infinity to infinity of X of t times " +
                exponent(forwardNegative, "2 pi f t") + ", d t; ";
        text += "X of t equals the integral from minus infinity to infinity of x of f times " +
                exponent(!forwardNegative, "2 pi f t") + ", d f. ";
    }

    text += "Numerical transforms: x prime n equals ";
    text += alternateNormalization ? "" : "1 over N times ";
    text += "the sum for k from 0 to N minus 1 of X prime k times " +
            exponent(forwardNegative, "2 pi n over N times k") + "; ";
    text += "X prime k equals ";
    text += alternateNormalization ? "1 over N times " : "";
    text += "the sum for n from 0 to N minus 1 of x prime n times " +
            exponent(!forwardNegative, "2 pi k over N times n") + ". ";

    text +=
        "Suggested variable assignments: X prime k is approximately X of t k; x prime n is "
        "approximately ";
    if (!repetitive) {
        text += alternateNormalization ? "x of f n divided by delta t" : "delta f times x of f n";
    } else {
        text += alternateNormalization ? "N times x of f n" : "x of f n";
    }
    text +=
        ". Grids: t k equals k delta t, f n equals n delta f, and T equals N delta t equals 1 "
        "over delta f.";
    return text;
}

}  // namespace quintrel
