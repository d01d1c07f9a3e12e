// Evaluator: evaluates AutoLISP forms with kafcad's variables and functions.
//
// Numbers, strings, nil, T, entity names, selection sets and files evaluate to themselves; a
// symbol gives its variable's value (nil when never set). A list headed by a symbol is a special
// form or a call:
//   (quote x)                  x unevaluated ('x); (function f) the same
//   (setq name value ...)      sets the variables in order; gives the last value
//   (progn form ...)           evaluates the forms; gives the last value (nil for none)
//   (if test then [else])      then when test is not nil, else else (nil without one)
//   (cond (test form ...) ...) the forms of the first clause whose test is not nil; their last
//                              value, or the test's value for a clause without forms
//   (and form ...) (or form ...)  T or nil, evaluating only as far as needed
//   (while test form ...)      the forms for as long as test is not nil; the last value
//   (repeat n form ...)        the forms n times (an integer); the last value
//   (foreach name list form ...)  evaluates the forms with name set to each element in turn;
//                              gives the last value; name gets its earlier value back after
//   (defun name (arg ... [/ local ...]) form ...)  defines a function; gives its name
//   (lambda (arg ...) form ...)   a function without a name (evaluates to itself)
//   (load "file" [onfailure])  evaluates the forms of a script file; gives the last value.
//                              The name is tried as given and with ".lsp" added, each in the
//                              current folder and then in the folder of the script being run.
//                              A missing file gives onfailure, or fails with LOAD failed: "file"
// A user function is kept as its variable's value, the list (LAMBDA (arg ... / local ...) form
// ...); calling it binds the arguments and the locals (nil) for the call, and gives them their
// earlier values back after it, also after an error (dynamic scope, as in AutoLISP). Any other
// head names a function of the libraries, searched in order after the evaluator's own (mapcar,
// apply, eval, vl-sort, ..., see builtins/higher_order.h); its arguments are evaluated in order
// and passed to it. Failures throw LispError with AutoLISP's reasons: "no function definition:
// NAME" (before any argument is evaluated), "bad function: X", "too few arguments", "too many
// arguments", "bad argument type: ...", "too deeply nested (more than 2000 levels of
// evaluation)" (forms within forms and calls within calls, across loads) or "too deeply nested
// (the evaluation has used up its stack)" (4 MB of stack, for builds with large frames), and the
// libraries' own.
//
// *error*: when an evaluation started by EvaluateScript or EvaluateInFolder (not by a load
// within one) fails and the variable *ERROR* holds a function, that function is called with the
// reason (a string) and the LispError is thrown on marked HandledByUser. An error within *error*
// itself is thrown as it is.
//
// EvaluateScript(forms, folder): evaluates a script's forms in order with folder as the folder
// that load resolves names against; gives the last value (nil for none). EvaluateInFolder does
// so for one form. Apply(function, arguments): calls a function value (a symbol naming a user or
// library function, or a lambda list) with evaluated arguments.
// SetStepLimit(n): fails every evaluation after n more steps (lists evaluated and rounds of
// while and repeat), with "evaluation step limit reached" (0: no limit); for the fuzz target,
// whose loops must end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/lisp/function_library.h"
#include "app/lisp/value.h"

namespace kafcad {

class BuiltinLibrary;

class Evaluator {
public:
    explicit Evaluator(std::vector<FunctionLibrary*> libraries);
    ~Evaluator();
    Evaluator(const Evaluator&) = delete;
    Evaluator& operator=(const Evaluator&) = delete;

    Value Evaluate(const Value& form);
    Value EvaluateScript(const std::vector<Value>& forms, const std::string& folder);
    Value EvaluateInFolder(const Value& form, const std::string& folder);
    Value Apply(const Value& function, const std::vector<Value>& arguments);

    Value Variable(const std::wstring& name) const;
    void SetVariable(const std::wstring& name, Value value);
    void SetStepLimit(std::size_t steps) {
        stepLimit_ = steps;
        steps_ = 0;
    }

private:
    using SpecialForm = Value (Evaluator::*)(const std::vector<Value>& items);

    Value AtTopLevel(const std::vector<Value>& forms, const std::string& folder);
    Value EvaluateList(const Value& form);
    Value EvaluateBody(const std::vector<Value>& forms, std::size_t first);
    std::vector<Value> EvaluateArguments(const std::vector<Value>& items);
    Value CallLambda(const Value& lambda, const std::vector<Value>& arguments);
    void CountStep();
    FunctionLibrary* FindFunction(const std::string& name) const;
    const SpecialForm* FindSpecialForm(const std::string& name) const;

    // Special forms (evaluate_control.cpp, evaluate.cpp).
    Value Quote(const std::vector<Value>& items);
    Value Setq(const std::vector<Value>& items);
    Value Progn(const std::vector<Value>& items);
    Value If(const std::vector<Value>& items);
    Value Cond(const std::vector<Value>& items);
    Value And(const std::vector<Value>& items);
    Value Or(const std::vector<Value>& items);
    Value While(const std::vector<Value>& items);
    Value Repeat(const std::vector<Value>& items);
    Value Foreach(const std::vector<Value>& items);
    Value Defun(const std::vector<Value>& items);
    Value Lambda(const std::vector<Value>& items);
    Value LoadForm(const std::vector<Value>& items);
    Value Load(const std::vector<Value>& arguments);

    std::unique_ptr<BuiltinLibrary> own_;
    std::vector<FunctionLibrary*> libraries_;
    std::map<std::wstring, Value> variables_;
    std::vector<std::string> scriptFolders_;
    int depth_ = 0;
    std::uintptr_t stackBase_ = 0;
    bool inErrorHandler_ = false;
    std::size_t stepLimit_ = 0;
    std::size_t steps_ = 0;
};

// Whether the value is a user function: a list (LAMBDA (arg ...) form ...).
bool IsLambda(const Value& value);

}  // namespace kafcad
