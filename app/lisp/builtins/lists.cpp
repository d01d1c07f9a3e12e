#include "app/lisp/builtins/lists.h"

#include <cmath>
#include <string>

#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/cons.h"
#include "app/lisp/error.h"

namespace kafcad {
namespace {

Value NestingChecked(Value list) {
    if (list.depth() > static_cast<std::uint32_t>(kMaxListNesting)) {
        throw LispError("too deeply nested (more than " + std::to_string(kMaxListNesting) +
                        " levels of lists)");
    }
    return list;
}

// car and cdr applied as the letters between c and r say, the last letter first.
Builtin CarCdrPath(const std::string& letters) {
    return [letters](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        Value value = a[0];
        for (auto letter = letters.rbegin(); letter != letters.rend(); ++letter) {
            value = *letter == 'A' ? Car(value) : Cdr(value);
        }
        return value;
    };
}

void DefineCarCdrPaths(BuiltinLibrary& library, const std::string& letters, int levelsLeft) {
    if (!letters.empty()) {
        library.Define("C" + letters + "R", CarCdrPath(letters));
    }
    if (levelsLeft > 0) {
        DefineCarCdrPaths(library, letters + "A", levelsLeft - 1);
        DefineCarCdrPaths(library, letters + "D", levelsLeft - 1);
    }
}

// The index of the first element equal to x, or the list's size.
std::size_t Find(const Value& x, const std::vector<Value>& items) {
    std::size_t i = 0;
    while (i < items.size() && !ValuesEqual(x, items[i])) {
        ++i;
    }
    return i;
}

Value Assoc(const std::vector<Value>& a) {
    CheckArgumentCount(a, 2, 2);
    for (const Value& element : ListArgument(a[1])) {
        if (element.isList() && ValuesEqual(element.items().front(), a[0])) {
            return element;
        }
    }
    return Value::nil();
}

}  // namespace

bool ValuesEqual(const Value& a, const Value& b, double fuzz) {
    if (a.isNumber() && b.isNumber()) {
        return std::fabs(a.asNumber() - b.asNumber()) <= fuzz;
    }
    if (a.kind() != b.kind()) {
        return false;
    }
    switch (a.kind()) {
        case Value::Kind::kString:
        case Value::Kind::kSymbol:
            return a.asString() == b.asString();
        case Value::Kind::kList: {
            const std::vector<Value>& x = a.items();
            const std::vector<Value>& y = b.items();
            if (x.size() != y.size()) {
                return false;
            }
            for (std::size_t i = 0; i < x.size(); ++i) {
                if (!ValuesEqual(x[i], y[i], fuzz)) {
                    return false;
                }
            }
            return true;
        }
        default:
            return true;
    }
}

void DefineListFunctions(BuiltinLibrary& library) {
    library.Define("list",
                   [](const std::vector<Value>& a) { return NestingChecked(Value::list(a)); });
    library.Define("cons", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 2, 2);
        return NestingChecked(Cons(a[0], a[1]));
    });
    DefineCarCdrPaths(library, "", 4);
    library.Define("nth", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 2, 2);
        const std::int32_t index = IntegerArgument(a[0]);
        const std::vector<Value>& items = ListArgument(a[1]);
        if (index < 0 || static_cast<std::size_t>(index) >= items.size()) {
            return Value::nil();
        }
        return items[static_cast<std::size_t>(index)];
    });
    library.Define("length", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        return Value::integer(static_cast<std::int32_t>(ListArgument(a[0]).size()));
    });
    library.Define("append", [](const std::vector<Value>& a) {
        std::vector<Value> all;
        for (const Value& list : a) {
            const std::vector<Value>& items = ListArgument(list);
            all.insert(all.end(), items.begin(), items.end());
        }
        return Value::list(std::move(all));
    });
    library.Define("reverse", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        const std::vector<Value>& items = ListArgument(a[0]);
        return Value::list(std::vector<Value>(items.rbegin(), items.rend()));
    });
    library.Define("last", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        const std::vector<Value>& items = ListArgument(a[0]);
        return items.empty() ? Value::nil() : items.back();
    });
    library.Define("member", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 2, 2);
        const std::vector<Value>& items = ListArgument(a[1]);
        return Value::list(std::vector<Value>(items.begin() + Find(a[0], items), items.end()));
    });
    library.Define("vl-position", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 2, 2);
        const std::vector<Value>& items = ListArgument(a[1]);
        const std::size_t index = Find(a[0], items);
        return index == items.size() ? Value::nil()
                                     : Value::integer(static_cast<std::int32_t>(index));
    });
    library.Define("assoc", Assoc);
    library.Define("subst", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 3, 3);
        std::vector<Value> items = ListArgument(a[2]);
        for (Value& item : items) {
            if (ValuesEqual(item, a[1])) {
                item = a[0];
            }
        }
        return NestingChecked(Value::list(std::move(items)));
    });
    library.Define("vl-remove", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 2, 2);
        std::vector<Value> kept;
        for (const Value& item : ListArgument(a[1])) {
            if (!ValuesEqual(item, a[0])) {
                kept.push_back(item);
            }
        }
        return Value::list(std::move(kept));
    });
}

}  // namespace kafcad
