#include "app/lisp/cons.h"

#include <vector>

#include "app/lisp/builtins/argument_checks.h"

namespace kafcad {

const Value& DotMarker() {
    static const Value marker = Value::symbol(L".");
    return marker;
}

bool IsDotted(const Value& value) {
    if (!value.isList()) {
        return false;
    }
    const std::vector<Value>& items = value.items();
    return items.size() >= 3 && items[items.size() - 2] == DotMarker();
}

Value Cons(const Value& head, const Value& tail) {
    if (tail.isNil()) {
        return Value::list({head});
    }
    if (!tail.isList()) {
        return Value::list({head, DotMarker(), tail});
    }
    std::vector<Value> items;
    items.reserve(tail.items().size() + 1);
    items.push_back(head);
    items.insert(items.end(), tail.items().begin(), tail.items().end());
    return Value::list(std::move(items));
}

Value Car(const Value& list) {
    const std::vector<Value>& items = ConsArgument(list);
    return items.empty() ? Value::nil() : items.front();
}

Value Cdr(const Value& list) {
    const std::vector<Value>& items = ConsArgument(list);
    if (items.size() <= 1) {
        return Value::nil();
    }
    if (IsDotted(list) && items.size() == 3) {
        return items.back();
    }
    return Value::list(std::vector<Value>(items.begin() + 1, items.end()));
}

}  // namespace kafcad
