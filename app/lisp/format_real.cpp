#include "app/lisp/format_real.h"

#include <charconv>
#include <cmath>

namespace kafcad {

std::string FormatReal(double value) {
    if (std::isnan(value))
        return "-1.#IND";
    if (std::isinf(value))
        return value > 0 ? "1.#INF" : "-1.#INF";

    char buffer[64];
    // Shortest form that reads back exactly; fixed or scientific, whichever is shorter.
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);

    const std::size_t exponent = text.find('e');
    const std::string mantissa = text.substr(0, exponent);
    if (mantissa.find('.') != std::string::npos)
        return text;
    if (exponent == std::string::npos)
        return text + ".0";
    return mantissa + ".0" + text.substr(exponent);
}

}  // namespace kafcad
