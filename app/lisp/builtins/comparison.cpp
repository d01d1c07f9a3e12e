#include "app/lisp/builtins/comparison.h"

#include "app/lisp/builtins/argument_checks.h"

namespace kafcad {
namespace {

bool Equal(const Value& a, const Value& b) {
    if (a.isNumber() && b.isNumber()) {
        return NumberArgument(a) == NumberArgument(b);
    }
    if (a.kind() != b.kind()) {
        return false;
    }
    switch (a.kind()) {
        case Value::Kind::kNil:
        case Value::Kind::kT:
            return true;
        case Value::Kind::kString:
        case Value::Kind::kSymbol:
            return a.asString() == b.asString();
        default:
            return false;
    }
}

// Negative, zero or positive as a is below, equal to or above b.
int Order(const Value& a, const Value& b) {
    if (a.kind() == Value::Kind::kString) {
        const int order = StringArgument(a).compare(StringArgument(b));
        return order < 0 ? -1 : (order > 0 ? 1 : 0);
    }
    const double x = NumberArgument(a);
    const double y = NumberArgument(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

template <typename PairTest>
Builtin EveryNeighbourPair(PairTest test) {
    return [test](const std::vector<Value>& arguments) {
        CheckArgumentCount(arguments, 1, kUnlimited);
        bool all = true;
        for (std::size_t i = 1; i < arguments.size(); ++i) {
            // Every pair is checked, so a bad argument is reported wherever it stands.
            if (!test(arguments[i - 1], arguments[i])) {
                all = false;
            }
        }
        return all ? Value::t() : Value::nil();
    };
}

}  // namespace

void DefineComparisonFunctions(BuiltinLibrary& library) {
    library.Define("=",
                   EveryNeighbourPair([](const Value& a, const Value& b) { return Equal(a, b); }));
    library.Define("/=",
                   EveryNeighbourPair([](const Value& a, const Value& b) { return !Equal(a, b); }));
    library.Define(
        "<", EveryNeighbourPair([](const Value& a, const Value& b) { return Order(a, b) < 0; }));
    library.Define(
        ">", EveryNeighbourPair([](const Value& a, const Value& b) { return Order(a, b) > 0; }));
    library.Define(
        "<=", EveryNeighbourPair([](const Value& a, const Value& b) { return Order(a, b) <= 0; }));
    library.Define(
        ">=", EveryNeighbourPair([](const Value& a, const Value& b) { return Order(a, b) >= 0; }));
}

}  // namespace kafcad
