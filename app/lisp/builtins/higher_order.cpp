#include "app/lisp/builtins/higher_order.h"

#include <algorithm>
#include <functional>

#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/error.h"
#include "app/lisp/evaluate.h"

namespace kafcad {
namespace {

Value MapLists(Evaluator& evaluator, const std::vector<Value>& a) {
    CheckArgumentCount(a, 2, kUnlimited);
    std::vector<const std::vector<Value>*> lists;
    std::size_t length = static_cast<std::size_t>(-1);
    for (std::size_t i = 1; i < a.size(); ++i) {
        lists.push_back(&ListArgument(a[i]));
        length = std::min(length, lists.back()->size());
    }
    std::vector<Value> results;
    results.reserve(length);
    for (std::size_t k = 0; k < length; ++k) {
        std::vector<Value> arguments;
        arguments.reserve(lists.size());
        for (const std::vector<Value>* list : lists) {
            arguments.push_back((*list)[k]);
        }
        results.push_back(evaluator.Apply(a[0], arguments));
    }
    return Value::list(std::move(results));
}

// The elements for which the test's truth is keep.
Value Filter(Evaluator& evaluator, const std::vector<Value>& a, bool keep) {
    CheckArgumentCount(a, 2, 2);
    std::vector<Value> kept;
    for (const Value& element : ListArgument(a[1])) {
        if (evaluator.Apply(a[0], {element}).isNil() != keep) {
            kept.push_back(element);
        }
    }
    return Value::list(std::move(kept));
}

// A merge sort: it calls the user's function only on elements in the list, whatever order that
// function describes, and keeps equal elements in their order.
void MergeSort(std::vector<Value>& items, std::size_t begin, std::size_t end,
               const std::function<bool(const Value&, const Value&)>& less) {
    if (end - begin < 2) {
        return;
    }
    const std::size_t middle = begin + (end - begin) / 2;
    MergeSort(items, begin, middle, less);
    MergeSort(items, middle, end, less);
    std::vector<Value> merged;
    merged.reserve(end - begin);
    std::size_t left = begin;
    std::size_t right = middle;
    while (left < middle && right < end) {
        if (less(items[right], items[left])) {
            merged.push_back(items[right++]);
        } else {
            merged.push_back(items[left++]);
        }
    }
    merged.insert(merged.end(), items.begin() + left, items.begin() + middle);
    merged.insert(merged.end(), items.begin() + right, items.begin() + end);
    std::move(merged.begin(), merged.end(), items.begin() + begin);
}

}  // namespace

void DefineHigherOrderFunctions(BuiltinLibrary& library, Evaluator& evaluator) {
    Evaluator* e = &evaluator;
    library.Define("mapcar", [e](const std::vector<Value>& a) { return MapLists(*e, a); });
    library.Define("apply", [e](const std::vector<Value>& a) {
        CheckArgumentCount(a, 2, 2);
        return e->Apply(a[0], ListArgument(a[1]));
    });
    library.Define("eval", [e](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        return e->Evaluate(a[0]);
    });
    library.Define("vl-remove-if",
                   [e](const std::vector<Value>& a) { return Filter(*e, a, false); });
    library.Define("vl-remove-if-not",
                   [e](const std::vector<Value>& a) { return Filter(*e, a, true); });
    library.Define("vl-member-if", [e](const std::vector<Value>& a) {
        CheckArgumentCount(a, 2, 2);
        const std::vector<Value>& items = ListArgument(a[1]);
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (!e->Apply(a[0], {items[i]}).isNil()) {
                return Value::list(std::vector<Value>(items.begin() + i, items.end()));
            }
        }
        return Value::nil();
    });
    library.Define("vl-sort", [e](const std::vector<Value>& a) {
        CheckArgumentCount(a, 2, 2);
        std::vector<Value> items = ListArgument(a[0]);
        MergeSort(items, 0, items.size(), [&](const Value& x, const Value& y) {
            return !e->Apply(a[1], {x, y}).isNil();
        });
        return Value::list(std::move(items));
    });
    library.Define("boundp", [e](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        return Truth(!e->Variable(SymbolArgument(a[0])).isNil());
    });
    const Builtin quit = [](const std::vector<Value>& a) -> Value {
        CheckArgumentCount(a, 0, 1);
        throw LispError("quit / exit abort");
    };
    library.Define("exit", quit);
    library.Define("quit", quit);
}

}  // namespace kafcad
