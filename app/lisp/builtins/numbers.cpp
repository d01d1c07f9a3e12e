#include "app/lisp/builtins/numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/error.h"
#include "app/lisp/print_value.h"

namespace kafcad {
namespace {

constexpr double kTwoPi = 6.283185307179586476925286766559;

std::int32_t Wrap(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

bool AllIntegers(const std::vector<Value>& a) {
    for (const Value& value : a) {
        if (NumberArgument(value), value.kind() != Value::Kind::kInteger) {
            return false;
        }
    }
    return true;
}

// A function of one number that gives a real.
template <typename Function>
Builtin RealFunction(Function function) {
    return [function](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        return Value::real(function(NumberArgument(a[0])));
    };
}

// A real function defined only where defined() holds.
template <typename Function, typename Domain>
Builtin PartialRealFunction(Function function, Domain defined) {
    return [function, defined](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        const double x = NumberArgument(a[0]);
        if (!defined(x)) {
            throw LispError("function undefined for argument: " + PrintValue(a[0]));
        }
        return Value::real(function(x));
    };
}

// n plus step, integer or real as n is.
Builtin Step(int step) {
    return [step](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        const double x = NumberArgument(a[0]);
        if (a[0].kind() == Value::Kind::kInteger) {
            return Value::integer(Wrap(std::int64_t{a[0].asInteger()} + step));
        }
        return Value::real(x + step);
    };
}

Builtin Extreme(bool largest) {
    return [largest](const std::vector<Value>& a) {
        const bool integers = AllIntegers(a);
        if (a.empty()) {
            return Value::integer(0);
        }
        double best = a[0].asNumber();
        for (const Value& value : a) {
            best = largest ? std::max(best, value.asNumber()) : std::min(best, value.asNumber());
        }
        return integers ? Value::integer(static_cast<std::int32_t>(best)) : Value::real(best);
    };
}

Value Remainder(const std::vector<Value>& a) {
    CheckArgumentCount(a, 1, kUnlimited);
    const bool integers = AllIntegers(a);
    Value result = a[0];
    for (std::size_t i = 1; i < a.size(); ++i) {
        if (a[i].asNumber() == 0.0) {
            throw LispError("divide by zero");
        }
        result = integers
                     ? Value::integer(Wrap(std::int64_t{result.asInteger()} % a[i].asInteger()))
                     : Value::real(std::fmod(result.asNumber(), a[i].asNumber()));
    }
    return result;
}

Value Fix(const std::vector<Value>& a) {
    CheckArgumentCount(a, 1, 1);
    const double x = std::trunc(NumberArgument(a[0]));
    if (a[0].kind() == Value::Kind::kInteger) {
        return a[0];
    }
    if (x >= -2147483648.0 && x <= 2147483647.0) {
        return Value::integer(static_cast<std::int32_t>(x));
    }
    return Value::real(x);
}

Value IntegerPower(std::int32_t base, std::int32_t power) {
    if (power < 0) {
        return Value::integer(base == 1 ? 1 : (base == -1 ? (power % 2 == 0 ? 1 : -1) : 0));
    }
    std::int64_t result = 1;
    std::int64_t factor = base;
    while (power > 0) {
        if (power & 1) {
            result = Wrap(result * factor);
        }
        factor = Wrap(factor * factor);
        power >>= 1;
    }
    return Value::integer(Wrap(result));
}

Value Expt(const std::vector<Value>& a) {
    CheckArgumentCount(a, 2, 2);
    if (AllIntegers(a)) {
        return IntegerPower(a[0].asInteger(), a[1].asInteger());
    }
    return Value::real(std::pow(a[0].asNumber(), a[1].asNumber()));
}

Value Gcd(const std::vector<Value>& a) {
    CheckArgumentCount(a, 2, 2);
    std::int64_t x = std::llabs(IntegerArgument(a[0]));
    std::int64_t y = std::llabs(IntegerArgument(a[1]));
    if (x == 0 && y == 0) {
        BadArgumentValue("positive fixnum", a[0]);
    }
    while (y != 0) {
        const std::int64_t r = x % y;
        x = y;
        y = r;
    }
    return Value::integer(Wrap(x));
}

// Folds the integer arguments with a bitwise operation, starting from start.
template <typename Operation>
Builtin BitFold(std::int32_t start, Operation operation) {
    return [start, operation](const std::vector<Value>& a) {
        if (a.empty()) {
            return Value::integer(0);
        }
        std::int32_t result = start;
        for (const Value& value : a) {
            result = operation(result, IntegerArgument(value));
        }
        return Value::integer(result);
    };
}

Value Boole(const std::vector<Value>& a) {
    CheckArgumentCount(a, 2, kUnlimited);
    const std::int32_t table = IntegerArgument(a[0]);
    std::uint32_t result = static_cast<std::uint32_t>(IntegerArgument(a[1]));
    for (std::size_t i = 2; i < a.size(); ++i) {
        const std::uint32_t other = static_cast<std::uint32_t>(IntegerArgument(a[i]));
        std::uint32_t combined = 0;
        // Bit 1 of the table: both set; 2: only the first; 4: only the second; 8: neither.
        if (table & 1) {
            combined |= result & other;
        }
        if (table & 2) {
            combined |= result & ~other;
        }
        if (table & 4) {
            combined |= ~result & other;
        }
        if (table & 8) {
            combined |= ~result & ~other;
        }
        result = combined;
    }
    return Value::integer(static_cast<std::int32_t>(result));
}

struct Point {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    bool is3d = false;
};

Point PointArgument(const Value& value) {
    if (!value.isList() || value.items().size() < 2 || value.items().size() > 3 ||
        !value.items()[0].isNumber() || !value.items()[1].isNumber() ||
        (value.items().size() == 3 && !value.items()[2].isNumber())) {
        BadArgumentType("2D/3D point:", value);
    }
    const std::vector<Value>& items = value.items();
    Point point{items[0].asNumber(), items[1].asNumber(), 0.0, items.size() == 3};
    if (point.is3d) {
        point.z = items[2].asNumber();
    }
    return point;
}

Value PointValue(const Point& point) {
    return point.is3d ? Value::point(point.x, point.y, point.z) : Value::point(point.x, point.y);
}

Value Angle(const std::vector<Value>& a) {
    CheckArgumentCount(a, 2, 2);
    const Point p = PointArgument(a[0]);
    const Point q = PointArgument(a[1]);
    double angle = std::atan2(q.y - p.y, q.x - p.x);
    if (angle < 0.0) {
        angle += kTwoPi;
    }
    return Value::real(angle);
}

Value Distance(const std::vector<Value>& a) {
    CheckArgumentCount(a, 2, 2);
    const Point p = PointArgument(a[0]);
    const Point q = PointArgument(a[1]);
    const double dz = p.is3d && q.is3d ? q.z - p.z : 0.0;
    return Value::real(std::sqrt((q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y) + dz * dz));
}

Value Polar(const std::vector<Value>& a) {
    CheckArgumentCount(a, 3, 3);
    Point p = PointArgument(a[0]);
    const double angle = NumberArgument(a[1]);
    const double distance = NumberArgument(a[2]);
    p.x += distance * std::cos(angle);
    p.y += distance * std::sin(angle);
    return PointValue(p);
}

Value Inters(const std::vector<Value>& a) {
    CheckArgumentCount(a, 4, 5);
    const Point p1 = PointArgument(a[0]);
    const Point p2 = PointArgument(a[1]);
    const Point p3 = PointArgument(a[2]);
    const Point p4 = PointArgument(a[3]);
    const bool onSegments = a.size() == 4 || !a[4].isNil();
    const double dx1 = p2.x - p1.x, dy1 = p2.y - p1.y;
    const double dx2 = p4.x - p3.x, dy2 = p4.y - p3.y;
    const double denominator = dx1 * dy2 - dy1 * dx2;
    if (denominator == 0.0) {
        return Value::nil();
    }
    const double t = ((p3.x - p1.x) * dy2 - (p3.y - p1.y) * dx2) / denominator;
    const double u = ((p3.x - p1.x) * dy1 - (p3.y - p1.y) * dx1) / denominator;
    if (onSegments && (t < 0.0 || t > 1.0 || u < 0.0 || u > 1.0)) {
        return Value::nil();
    }
    Point meet{p1.x + t * dx1, p1.y + t * dy1, p1.z + t * (p2.z - p1.z), p1.is3d && p2.is3d};
    return PointValue(meet);
}

}  // namespace

void DefineNumberFunctions(BuiltinLibrary& library) {
    library.Define("1+", Step(1));
    library.Define("1-", Step(-1));
    library.Define("abs", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        const double x = NumberArgument(a[0]);
        return a[0].kind() == Value::Kind::kInteger
                   ? Value::integer(Wrap(std::llabs(a[0].asInteger())))
                   : Value::real(std::fabs(x));
    });
    library.Define("min", Extreme(false));
    library.Define("max", Extreme(true));
    library.Define("rem", Remainder);
    library.Define("gcd", Gcd);
    library.Define("fix", Fix);
    library.Define("float", RealFunction([](double x) { return x; }));
    library.Define("sqrt", PartialRealFunction([](double x) { return std::sqrt(x); },
                                               [](double x) { return x >= 0.0; }));
    library.Define("log", PartialRealFunction([](double x) { return std::log(x); },
                                              [](double x) { return x > 0.0; }));
    library.Define("exp", RealFunction([](double x) { return std::exp(x); }));
    library.Define("expt", Expt);
    library.Define("sin", RealFunction([](double x) { return std::sin(x); }));
    library.Define("cos", RealFunction([](double x) { return std::cos(x); }));
    library.Define("atan", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 2);
        const double y = NumberArgument(a[0]);
        return Value::real(a.size() == 2 ? std::atan2(y, NumberArgument(a[1])) : std::atan(y));
    });
    library.Define("numberp", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        return Truth(a[0].isNumber());
    });
    library.Define("minusp", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        return Truth(NumberArgument(a[0]) < 0.0);
    });
    library.Define("zerop", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        return Truth(NumberArgument(a[0]) == 0.0);
    });
    library.Define("~", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        return Value::integer(~IntegerArgument(a[0]));
    });
    library.Define("logand", BitFold(-1, [](std::int32_t x, std::int32_t y) { return x & y; }));
    library.Define("logior", BitFold(0, [](std::int32_t x, std::int32_t y) { return x | y; }));
    library.Define("lsh", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 2, 2);
        const std::uint32_t x = static_cast<std::uint32_t>(IntegerArgument(a[0]));
        const std::int32_t bits = IntegerArgument(a[1]);
        if (bits >= 32 || bits <= -32) {
            return Value::integer(0);
        }
        return Value::integer(static_cast<std::int32_t>(bits >= 0 ? x << bits : x >> -bits));
    });
    library.Define("boole", Boole);
    library.Define("angle", Angle);
    library.Define("distance", Distance);
    library.Define("polar", Polar);
    library.Define("inters", Inters);
}

}  // namespace kafcad
