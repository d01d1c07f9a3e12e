#include "app/lisp/builtins/lists.h"

#include <string>

#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/error.h"

namespace kafcad {
namespace {

Value Rest(const Value& list) {
    const std::vector<Value>& items = ConsArgument(list);
    if (items.size() <= 1) {
        return Value::nil();
    }
    return Value::list(std::vector<Value>(items.begin() + 1, items.end()));
}

Value First(const Value& list) {
    const std::vector<Value>& items = ConsArgument(list);
    return items.empty() ? Value::nil() : items.front();
}

}  // namespace

void DefineListFunctions(BuiltinLibrary& library) {
    library.Define("list", [](const std::vector<Value>& a) {
        Value list = Value::list(a);
        if (list.depth() > static_cast<std::uint32_t>(kMaxListNesting)) {
            throw LispError("too deeply nested (more than " + std::to_string(kMaxListNesting) +
                            " levels of lists)");
        }
        return list;
    });
    library.Define("car", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        return First(a[0]);
    });
    library.Define("cdr", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        return Rest(a[0]);
    });
    library.Define("cadr", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        return First(Rest(a[0]));
    });
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
}

}  // namespace kafcad
