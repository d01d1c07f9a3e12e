#include "app/lisp/builtins/arithmetic.h"

#include <cstdint>
#include <limits>

#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/error.h"

namespace kafcad {
namespace {

enum class Operation { kAdd, kSubtract, kMultiply, kDivide };

// 32-bit integer arithmetic that wraps as AutoLISP's does.
std::int32_t Wrap(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::int32_t ApplyIntegers(Operation operation, std::int32_t a, std::int32_t b) {
    switch (operation) {
        case Operation::kAdd:
            return Wrap(std::int64_t{a} + b);
        case Operation::kSubtract:
            return Wrap(std::int64_t{a} - b);
        case Operation::kMultiply:
            return Wrap(std::int64_t{a} * b);
        case Operation::kDivide:
            if (b == 0) {
                throw LispError("divide by zero");
            }
            return Wrap(std::int64_t{a} / b);
    }
    return 0;
}

double ApplyReals(Operation operation, double a, double b) {
    switch (operation) {
        case Operation::kAdd:
            return a + b;
        case Operation::kSubtract:
            return a - b;
        case Operation::kMultiply:
            return a * b;
        case Operation::kDivide:
            if (b == 0.0) {
                throw LispError("divide by zero");
            }
            return a / b;
    }
    return 0.0;
}

Value Apply(Operation operation, const Value& a, const Value& b) {
    if (a.kind() == Value::Kind::kInteger && b.kind() == Value::Kind::kInteger) {
        return Value::integer(ApplyIntegers(operation, a.asInteger(), b.asInteger()));
    }
    return Value::real(ApplyReals(operation, NumberArgument(a), NumberArgument(b)));
}

// Folds the arguments from the left; every argument is checked to be a number first.
Value Fold(Operation operation, const std::vector<Value>& arguments) {
    for (const Value& argument : arguments) {
        NumberArgument(argument);
    }
    if (arguments.empty()) {
        return Value::integer(0);
    }
    if (arguments.size() == 1 && operation == Operation::kSubtract) {
        return Apply(Operation::kSubtract, Value::integer(0), arguments[0]);
    }
    Value result = arguments[0];
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        result = Apply(operation, result, arguments[i]);
    }
    return result;
}

}  // namespace

void DefineArithmeticFunctions(BuiltinLibrary& library) {
    library.Define("+", [](const std::vector<Value>& a) { return Fold(Operation::kAdd, a); });
    library.Define("-", [](const std::vector<Value>& a) { return Fold(Operation::kSubtract, a); });
    library.Define("*", [](const std::vector<Value>& a) { return Fold(Operation::kMultiply, a); });
    library.Define("/", [](const std::vector<Value>& a) { return Fold(Operation::kDivide, a); });
}

}  // namespace kafcad
