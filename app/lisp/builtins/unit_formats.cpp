#include "app/lisp/builtins/unit_formats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/lisp/error.h"

namespace kafcad {
namespace {

constexpr double kPi = 3.14159265358979323846;

void CheckPrecision(int precision) {
    if (precision < 0 || precision > 15) {
        throw LispError("bad argument value: precision out of range " + std::to_string(precision));
    }
}

// x with the given number of decimals, halves rounded away from zero; "-" only for a result
// that is not zero.
std::string Decimal(double x, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double scaled = std::round(std::fabs(x) * scale);
    char text[400];
    if (scaled < 1e15) {
        std::snprintf(text, sizeof text, "%.*f", decimals, scaled / scale);
    } else {
        std::snprintf(text, sizeof text, "%.*f", decimals, std::fabs(x));
    }
    const bool negative = x < 0.0 && scaled != 0.0;
    return (negative ? "-" : "") + std::string(text);
}

std::string Scientific(double x, int decimals) {
    if (x == 0.0 || !std::isfinite(x)) {
        return Decimal(x, decimals) + "E+00";
    }
    int exponent = static_cast<int>(std::floor(std::log10(std::fabs(x))));
    double mantissa = x / std::pow(10.0, exponent);
    std::string digits = Decimal(mantissa, decimals);
    // Rounding may carry the mantissa to 10.
    if (std::fabs(std::atof(digits.c_str())) >= 10.0) {
        ++exponent;
        digits = Decimal(x / std::pow(10.0, exponent), decimals);
    }
    char text[16];
    std::snprintf(text, sizeof text, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return digits + text;
}

// A whole number and a fraction of denominator 2^precision, reduced: "5 1/2", "5", "1/2".
std::string MixedFraction(double x, int precision, const char* beforeFraction) {
    const long long denominator = 1LL << std::min(precision, 20);
    long long units = std::llround(std::fabs(x) * static_cast<double>(denominator));
    const long long whole = units / denominator;
    long long numerator = units % denominator;
    long long reduced = denominator;
    while (numerator != 0 && numerator % 2 == 0) {
        numerator /= 2;
        reduced /= 2;
    }
    std::string text = (x < 0.0 && units != 0) ? "-" : "";
    if (numerator == 0) {
        return text + std::to_string(whole);
    }
    if (whole != 0) {
        text += std::to_string(whole) + beforeFraction;
    }
    return text + std::to_string(numerator) + "/" + std::to_string(reduced);
}

// Feet and inches, the inches written by formatInches; inches rounding up to 12 carry.
template <typename InchFormat>
std::string FeetAndInches(double x, InchFormat formatInches) {
    const double length = std::fabs(x);
    double feet = std::floor(length / 12.0);
    std::string inches = formatInches(length - feet * 12.0);
    if (std::atof(inches.c_str()) >= 12.0) {
        feet += 1.0;
        inches = formatInches(0.0);
    }
    const bool negative = x < 0.0 && (feet != 0.0 || std::atof(inches.c_str()) != 0.0 ||
                                      inches.find('/') != std::string::npos);
    char feetText[64];
    std::snprintf(feetText, sizeof feetText, "%.0f", feet);
    return (negative ? "-" : "") + std::string(feetText) + "'-" + inches + "\"";
}

// Degrees, minutes and seconds as mode 1 writes them.
std::string DegreesMinutesSeconds(double degrees, int precision) {
    if (precision == 0) {
        return Decimal(degrees, 0) + "d";
    }
    if (precision <= 2) {
        const long long minutes = std::llround(degrees * 60.0);
        return std::to_string(minutes / 60) + "d" + std::to_string(minutes % 60) + "'";
    }
    const int decimals = precision <= 4 ? 0 : precision - 4;
    const double scale = std::pow(10.0, decimals);
    const long long units = std::llround(degrees * 3600.0 * scale);
    const long long wholeSeconds = units / static_cast<long long>(scale);
    const long long fraction = units % static_cast<long long>(scale);
    std::string seconds = std::to_string(wholeSeconds % 60);
    if (decimals > 0) {
        const std::string digits = std::to_string(fraction);
        seconds +=
            "." + std::string(static_cast<std::size_t>(decimals) - digits.size(), '0') + digits;
    }
    return std::to_string(wholeSeconds / 3600) + "d" + std::to_string(wholeSeconds / 60 % 60) +
           "'" + seconds + "\"";
}

std::string Surveyor(double degrees, int precision) {
    const double eps = 1e-10;
    if (std::fabs(degrees) < eps || std::fabs(degrees - 360.0) < eps) {
        return "E";
    }
    if (std::fabs(degrees - 90.0) < eps) {
        return "N";
    }
    if (std::fabs(degrees - 180.0) < eps) {
        return "W";
    }
    if (std::fabs(degrees - 270.0) < eps) {
        return "S";
    }
    const bool north = degrees < 180.0;
    const double fromMeridian = north ? 90.0 - degrees : degrees - 270.0;
    return std::string(north ? "N " : "S ") +
           DegreesMinutesSeconds(std::fabs(fromMeridian), precision) +
           (fromMeridian > 0.0 ? " E" : " W");
}

// Reads a number at text[pos] (digits with an optional point); false when there is none.
bool ReadNumber(const std::string& text, std::size_t& pos, double& value) {
    const char* start = text.c_str() + pos;
    if (*start == '+' || *start == '-') {
        return false;
    }
    char* end = nullptr;
    value = std::strtod(start, &end);
    if (end == start) {
        return false;
    }
    pos += static_cast<std::size_t>(end - start);
    return true;
}

// Inches: "5.5", "5 1/2", "5-1/2", "1/2"; gives false unless the whole rest is read.
bool ReadInches(const std::string& text, std::size_t& pos, double& inches) {
    double whole = 0.0;
    if (!ReadNumber(text, pos, whole)) {
        return false;
    }
    inches = whole;
    if (pos < text.size() && text[pos] == '/') {
        ++pos;
        double denominator = 0.0;
        if (!ReadNumber(text, pos, denominator) || denominator == 0.0) {
            return false;
        }
        inches = whole / denominator;
        return true;
    }
    if (pos < text.size() && (text[pos] == ' ' || text[pos] == '-')) {
        std::size_t fractionStart = pos + 1;
        double numerator = 0.0;
        double denominator = 0.0;
        if (ReadNumber(text, fractionStart, numerator) && fractionStart < text.size() &&
            text[fractionStart] == '/') {
            ++fractionStart;
            if (!ReadNumber(text, fractionStart, denominator) || denominator == 0.0) {
                return false;
            }
            inches += numerator / denominator;
            pos = fractionStart;
        }
    }
    return true;
}

}  // namespace

std::string FormatDistance(double x, int mode, int precision) {
    CheckPrecision(precision);
    switch (mode) {
        case 1:
            return Scientific(x, precision);
        case 2:
            return Decimal(x, precision);
        case 3:
            return FeetAndInches(x,
                                 [precision](double inches) { return Decimal(inches, precision); });
        case 4:
            return FeetAndInches(
                x, [precision](double inches) { return MixedFraction(inches, precision, " "); });
        case 5:
            return MixedFraction(x, precision, " ");
        default:
            throw LispError("bad argument value: units mode out of range " + std::to_string(mode));
    }
}

std::optional<double> ParseDistance(const std::string& text) {
    std::size_t begin = text.find_first_not_of(" \t");
    std::size_t end = text.find_last_not_of(" \t");
    if (begin == std::string::npos) {
        return std::nullopt;
    }
    std::string body = text.substr(begin, end - begin + 1);
    double sign = 1.0;
    if (body[0] == '-' || body[0] == '+') {
        sign = body[0] == '-' ? -1.0 : 1.0;
        body.erase(0, 1);
    }
    std::size_t pos = 0;
    double feet = 0.0;
    double inches = 0.0;
    double first = 0.0;
    std::size_t afterNumber = 0;
    if (!ReadNumber(body, afterNumber, first)) {
        return std::nullopt;
    }
    if (afterNumber < body.size() && body[afterNumber] == '\'') {
        feet = first;
        pos = afterNumber + 1;
        if (pos < body.size() && body[pos] == '-') {
            ++pos;
        }
        if (pos == body.size()) {
            return sign * feet * 12.0;
        }
    }
    if (!ReadInches(body, pos, inches)) {
        return std::nullopt;
    }
    if (pos < body.size() && body[pos] == '"') {
        ++pos;
    }
    if (pos != body.size()) {
        return std::nullopt;
    }
    return sign * (feet * 12.0 + inches);
}

std::string FormatAngle(double radians, int mode, int precision) {
    CheckPrecision(precision);
    double angle = std::fmod(radians, 2.0 * kPi);
    if (angle < 0.0) {
        angle += 2.0 * kPi;
    }
    const double degrees = angle * 180.0 / kPi;
    switch (mode) {
        case 0:
            return Decimal(degrees, precision);
        case 1:
            return DegreesMinutesSeconds(degrees, precision);
        case 2:
            return Decimal(angle * 200.0 / kPi, precision) + "g";
        case 3:
            return Decimal(angle, precision) + "r";
        case 4:
            return Surveyor(degrees, precision);
        default:
            throw LispError("bad argument value: angle units mode out of range " +
                            std::to_string(mode));
    }
}

}  // namespace kafcad
