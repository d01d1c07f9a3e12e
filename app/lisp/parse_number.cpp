#include "app/lisp/parse_number.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <system_error>

namespace kafcad {
namespace {

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Advances pos past a run of digits and gives how many there were.
std::size_t SkipDigits(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) {
        ++pos;
    }
    return pos - start;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::optional<Value> ParseSpecialReal(std::string_view token) {
    if (EqualsIgnoringCase(token, "1.#INF") || EqualsIgnoringCase(token, "+1.#INF")) {
        return Value::real(std::numeric_limits<double>::infinity());
    }
    if (EqualsIgnoringCase(token, "-1.#INF")) {
        return Value::real(-std::numeric_limits<double>::infinity());
    }
    if (EqualsIgnoringCase(token, "-1.#IND") || EqualsIgnoringCase(token, "1.#IND")) {
        return Value::real(std::numeric_limits<double>::quiet_NaN());
    }
    return std::nullopt;
}

}  // namespace

std::optional<Value> ParseNumber(std::string_view token) {
    if (auto special = ParseSpecialReal(token)) {
        return special;
    }

    std::size_t pos = 0;
    if (pos < token.size() && (token[pos] == '+' || token[pos] == '-')) {
        ++pos;
    }
    const std::size_t mantissaStart = pos;
    std::size_t digits = SkipDigits(token, pos);
    bool isReal = false;
    if (pos < token.size() && token[pos] == '.') {
        ++pos;
        digits += SkipDigits(token, pos);
        isReal = true;
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (pos < token.size() && (token[pos] == 'e' || token[pos] == 'E')) {
        ++pos;
        if (pos < token.size() && (token[pos] == '+' || token[pos] == '-')) {
            ++pos;
        }
        if (SkipDigits(token, pos) == 0) {
            return std::nullopt;
        }
        isReal = true;
    }
    if (pos != token.size()) {
        return std::nullopt;
    }

    // from_chars takes no leading plus sign.
    const std::string_view unsigned_part = token.substr(mantissaStart);
    const bool negative = token[0] == '-';
    if (!isReal) {
        std::uint64_t magnitude = 0;
        const auto [end, error] = std::from_chars(
            unsigned_part.data(), unsigned_part.data() + unsigned_part.size(), magnitude);
        const std::uint64_t limit = negative ? 2147483648ULL : 2147483647ULL;
        if (error == std::errc() && end == unsigned_part.data() + unsigned_part.size() &&
            magnitude <= limit) {
            const std::int64_t value = negative ? -static_cast<std::int64_t>(magnitude)
                                                : static_cast<std::int64_t>(magnitude);
            return Value::integer(static_cast<std::int32_t>(value));
        }
        // Too large for an integer: read it as a real.
    }
    double magnitude = 0.0;
    const auto [end, error] = std::from_chars(
        unsigned_part.data(), unsigned_part.data() + unsigned_part.size(), magnitude);
    if (error == std::errc::result_out_of_range) {
        // Underflow gives zero; only overflow is an error.
        if (!std::isinf(std::strtod(std::string(unsigned_part).c_str(), nullptr))) {
            return Value::real(negative ? -0.0 : 0.0);
        }
        throw std::range_error("number out of range: " + std::string(token));
    }
    if (error != std::errc() || end != unsigned_part.data() + unsigned_part.size()) {
        return std::nullopt;
    }
    return Value::real(negative ? -magnitude : magnitude);
}

}  // namespace kafcad
