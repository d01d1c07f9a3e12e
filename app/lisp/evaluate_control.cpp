// The special forms of the evaluator: quoting, variables, sequence, conditions, loops and
// definitions. Each gets the whole form (items[0] is its name).
#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/error.h"
#include "app/lisp/evaluate.h"

namespace kafcad {
namespace {

// Restores a variable's value when a foreach ends, also by an error.
class VariableRestorer {
public:
    VariableRestorer(Evaluator& evaluator, std::wstring name)
        : evaluator_(evaluator), name_(std::move(name)), saved_(evaluator.Variable(name_)) {}
    ~VariableRestorer() { evaluator_.SetVariable(name_, saved_); }
    VariableRestorer(const VariableRestorer&) = delete;
    VariableRestorer& operator=(const VariableRestorer&) = delete;

private:
    Evaluator& evaluator_;
    std::wstring name_;
    Value saved_;
};

}  // namespace

Value Evaluator::Quote(const std::vector<Value>& items) {
    CheckArgumentCount(items, 2, 2);
    return items[1];
}

Value Evaluator::Setq(const std::vector<Value>& items) {
    // (setq) alone is allowed and gives nil; names and values come in pairs.
    if (items.size() % 2 == 0) {
        throw LispError("too few arguments");
    }
    Value last;
    for (std::size_t i = 1; i + 1 < items.size(); i += 2) {
        const std::wstring& name = SymbolArgument(items[i]);
        last = Evaluate(items[i + 1]);
        SetVariable(name, last);
    }
    return last;
}

Value Evaluator::Progn(const std::vector<Value>& items) {
    return EvaluateBody(items, 1);
}

Value Evaluator::If(const std::vector<Value>& items) {
    CheckArgumentCount(items, 3, 4);
    if (!Evaluate(items[1]).isNil()) {
        return Evaluate(items[2]);
    }
    return items.size() == 4 ? Evaluate(items[3]) : Value::nil();
}

Value Evaluator::Cond(const std::vector<Value>& items) {
    for (std::size_t i = 1; i < items.size(); ++i) {
        const std::vector<Value>& clause = ListArgument(items[i]);
        if (clause.empty()) {
            continue;
        }
        Value test = Evaluate(clause[0]);
        if (!test.isNil()) {
            return clause.size() == 1 ? test : EvaluateBody(clause, 1);
        }
    }
    return Value::nil();
}

Value Evaluator::And(const std::vector<Value>& items) {
    for (std::size_t i = 1; i < items.size(); ++i) {
        if (Evaluate(items[i]).isNil()) {
            return Value::nil();
        }
    }
    return Value::t();
}

Value Evaluator::Or(const std::vector<Value>& items) {
    for (std::size_t i = 1; i < items.size(); ++i) {
        if (!Evaluate(items[i]).isNil()) {
            return Value::t();
        }
    }
    return Value::nil();
}

Value Evaluator::While(const std::vector<Value>& items) {
    CheckArgumentCount(items, 2, kUnlimited);
    Value last;
    while (!Evaluate(items[1]).isNil()) {
        CountStep();
        last = EvaluateBody(items, 2);
    }
    return last;
}

Value Evaluator::Repeat(const std::vector<Value>& items) {
    CheckArgumentCount(items, 2, kUnlimited);
    const std::int32_t count = IntegerArgument(Evaluate(items[1]));
    Value last;
    for (std::int32_t i = 0; i < count; ++i) {
        CountStep();
        last = EvaluateBody(items, 2);
    }
    return last;
}

Value Evaluator::Foreach(const std::vector<Value>& items) {
    CheckArgumentCount(items, 3, kUnlimited);
    const std::wstring& name = SymbolArgument(items[1]);
    const Value list = Evaluate(items[2]);
    const std::vector<Value>& elements = ListArgument(list);
    VariableRestorer restorer(*this, name);
    Value last;
    for (const Value& element : elements) {
        SetVariable(name, element);
        last = EvaluateBody(items, 3);
    }
    return last;
}

Value Evaluator::Defun(const std::vector<Value>& items) {
    CheckArgumentCount(items, 3, kUnlimited);
    const std::wstring& name = SymbolArgument(items[1]);
    std::vector<Value> lambda{Value::symbol(L"LAMBDA")};
    lambda.insert(lambda.end(), items.begin() + 2, items.end());
    Value function = Value::list(std::move(lambda));
    // The argument list is checked now, so that a bad definition fails where it is made.
    Lambda(function.items());
    SetVariable(name, std::move(function));
    return items[1];
}

Value Evaluator::Lambda(const std::vector<Value>& items) {
    CheckArgumentCount(items, 2, kUnlimited);
    for (const Value& parameter : ListArgument(items[1])) {
        SymbolArgument(parameter);
    }
    return Value::list(items);
}

}  // namespace kafcad
