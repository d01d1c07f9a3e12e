#include "app/lisp/builtins/conversions.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/builtins/unit_formats.h"
#include "app/lisp/error.h"
#include "kafhost/utf8_to_wide.h"
#include "kafhost/wide_to_utf8.h"

namespace kafcad {
namespace {

// The mode and precision arguments from index on, with their defaults.
std::pair<int, int> ModeAndPrecision(const std::vector<Value>& a, std::size_t index, int mode,
                                     int precision) {
    if (a.size() > index) {
        mode = IntegerArgument(a[index]);
    }
    if (a.size() > index + 1) {
        precision = IntegerArgument(a[index + 1]);
    }
    return {mode, precision};
}

Value Text(const std::string& text) {
    return Value::string(kafhost::utf8ToWide(text));
}

}  // namespace

void DefineConversionFunctions(BuiltinLibrary& library) {
    library.Define("itoa", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        return Text(std::to_string(IntegerArgument(a[0])));
    });
    library.Define("atoi", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        const long long value =
            std::strtoll(kafhost::wideToUtf8(StringArgument(a[0])).c_str(), nullptr, 10);
        const long long lowest = std::numeric_limits<std::int32_t>::min();
        const long long highest = std::numeric_limits<std::int32_t>::max();
        return Value::integer(
            static_cast<std::int32_t>(std::min(std::max(value, lowest), highest)));
    });
    library.Define("atof", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        return Value::real(std::strtod(kafhost::wideToUtf8(StringArgument(a[0])).c_str(), nullptr));
    });
    library.Define("chr", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        const std::int32_t code = IntegerArgument(a[0]);
        if (code < 0 || code > 0x10FFFF) {
            BadArgumentValue("character code out of range", a[0]);
        }
        return Value::string(std::wstring(1, static_cast<wchar_t>(code)));
    });
    library.Define("ascii", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        const std::wstring& text = StringArgument(a[0]);
        return Value::integer(text.empty() ? 0 : static_cast<std::int32_t>(text[0]));
    });
    library.Define("rtos", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 3);
        const double x = NumberArgument(a[0]);
        const auto [mode, precision] = ModeAndPrecision(a, 1, 2, 4);
        return Text(FormatDistance(x, mode, precision));
    });
    library.Define("distof", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 2);
        const std::string text = kafhost::wideToUtf8(StringArgument(a[0]));
        ModeAndPrecision(a, 1, 2, 0);
        const std::optional<double> distance = ParseDistance(text);
        return distance ? Value::real(*distance) : Value::nil();
    });
    library.Define("angtos", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 3);
        const double angle = NumberArgument(a[0]);
        const auto [mode, precision] = ModeAndPrecision(a, 1, 0, 0);
        return Text(FormatAngle(angle, mode, precision));
    });
}

}  // namespace kafcad
