// The formula pictures in words, for screen readers: what each of the eight pictures shows.
#pragma once

#include <string>

namespace quintrel {

// The formulas of picture k (1..8) read out as text: the signal kind and the two conventions,
// then the actual transforms, the numerical transforms, the suggested variable assignments and
// the grid definitions, in the order the picture shows them. Empty for any other k.
std::string formulaDescription(int k);

}  // namespace quintrel
