// FormatReal(value): a real as AutoLISP prints it, always with a decimal point, with the fewest
// digits that read back to the same double: 0.0, 1.0, 0.1, -2.5, 123456.0, 1.0e+20, 1.5e-07.
// Infinities and NaN print as 1.#INF, -1.#INF and -1.#IND.
#pragma once

#include <string>

namespace kafcad {

std::string FormatReal(double value);

}  // namespace kafcad
