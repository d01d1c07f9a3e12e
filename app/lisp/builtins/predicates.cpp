#include "app/lisp/builtins/predicates.h"

#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/builtins/lists.h"
#include "app/lisp/evaluate.h"
#include "app/lisp/opaque_values.h"

namespace kafcad {
namespace {

// A function of one argument giving T or nil.
template <typename Test>
Builtin OneArgumentTest(Test test) {
    return [test](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        return Truth(test(a[0]));
    };
}

bool Same(const Value& a, const Value& b) {
    if (a.isList() && b.isList()) {
        return &a.items() == &b.items();
    }
    if (a.kind() != b.kind()) {
        return false;
    }
    return ValuesEqual(a, b);
}

std::string TypeName(const Value& value) {
    switch (value.kind()) {
        case Value::Kind::kInteger:
            return "INT";
        case Value::Kind::kReal:
            return "REAL";
        case Value::Kind::kString:
            return "STR";
        case Value::Kind::kList:
            return IsLambda(value) ? "USUBR" : "LIST";
        case Value::Kind::kSymbol:
            return IsOpaque(value) ? OpaqueTypeName(value) : "SYM";
        case Value::Kind::kT:
            return "SYM";
        case Value::Kind::kNil:
            break;
    }
    return "";
}

}  // namespace

void DefinePredicateFunctions(BuiltinLibrary& library) {
    library.Define("atom", OneArgumentTest([](const Value& x) { return !x.isList(); }));
    library.Define("listp",
                   OneArgumentTest([](const Value& x) { return x.isList() || x.isNil(); }));
    library.Define("vl-consp", OneArgumentTest([](const Value& x) { return x.isList(); }));
    library.Define("null", OneArgumentTest([](const Value& x) { return x.isNil(); }));
    library.Define("not", OneArgumentTest([](const Value& x) { return x.isNil(); }));
    library.Define("equal", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 2, 3);
        return Truth(ValuesEqual(a[0], a[1], a.size() == 3 ? NumberArgument(a[2]) : 0.0));
    });
    library.Define("eq", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 2, 2);
        return Truth(Same(a[0], a[1]));
    });
    library.Define("type", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        const std::string name = TypeName(a[0]);
        return name.empty() ? Value::nil() : Value::symbol(std::wstring(name.begin(), name.end()));
    });
}

}  // namespace kafcad
