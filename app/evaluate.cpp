#include "app/evaluate.h"

#include <vector>

#include "app/exit_status.h"
#include "app/lisp_error.h"
#include "app/print_value.h"

namespace kafcad {
namespace {

Value EvaluateQuote(const Value& form) {
    if (form.items.size() < 2)
        throw LispError("too few arguments", kExitUsage);
    if (form.items.size() > 2)
        throw LispError("too many arguments", kExitUsage);
    return form.items[1];
}

}  // namespace

Value Evaluate(const Value& form, FunctionLibrary& functions) {
    if (form.IsSymbol())
        throw LispError("variables are not supported: " + form.text, kExitUsage);
    if (!form.IsList())
        return form;

    const Value& head = form.items.front();
    if (!head.IsSymbol())
        throw LispError("bad function: " + PrintValue(head), kExitUsage);
    if (head.text == "QUOTE")
        return EvaluateQuote(form);
    if (!functions.Has(head.text))
        throw LispError("no function definition: " + head.text, kExitUsage);

    std::vector<Value> arguments;
    arguments.reserve(form.items.size() - 1);
    for (std::size_t i = 1; i < form.items.size(); ++i)
        arguments.push_back(Evaluate(form.items[i], functions));
    return functions.Call(head.text, arguments);
}

}  // namespace kafcad
