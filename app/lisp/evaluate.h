// Evaluator: evaluates AutoLISP forms with kafcad's variables and functions.
//
// Numbers, strings, nil and T evaluate to themselves; a symbol gives its variable's value (nil
// when never set). A list headed by a symbol is a special form or a call:
//   (quote x)                  x unevaluated ('x)
//   (setq name value ...)      sets the variables in order; gives the last value
//   (progn form ...)           evaluates the forms; gives the last value (nil for none)
//   (if test then [else])      then when test is not nil, else else (nil without one)
//   (foreach name list form ...)  evaluates the forms with name set to each element in turn;
//                              gives the last value; name gets its earlier value back after
//   (load "file" [onfailure])  evaluates the forms of a script file; gives the last value.
//                              The name is tried as given and with ".lsp" added, each in the
//                              current folder and then in the folder of the script being run.
//                              A missing file gives onfailure, or fails with LOAD failed: "file"
// Any other head names a function of the libraries, searched in order; its arguments are
// evaluated in order and passed to it. Failures throw LispError with AutoLISP's reasons:
// "no function definition: NAME" (before any argument is evaluated), "bad function: X",
// "too few arguments", "too many arguments", "bad argument type: ...", "too deeply nested (more
// than 2000 levels of evaluation)" (forms within forms, across loads), and the libraries' own.
//
// EvaluateScript(forms, folder): evaluates a script's forms in order with folder as the folder
// that load resolves names against; gives the last value (nil for none). EvaluateInFolder does
// so for one form.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "app/lisp/function_library.h"
#include "app/lisp/value.h"

namespace kafcad {

class Evaluator {
public:
    explicit Evaluator(std::vector<FunctionLibrary*> libraries);

    Value Evaluate(const Value& form);
    Value EvaluateScript(const std::vector<Value>& forms, const std::string& folder);
    Value EvaluateInFolder(const Value& form, const std::string& folder);

    Value Variable(const std::wstring& name) const;
    void SetVariable(const std::wstring& name, Value value);

private:
    Value EvaluateList(const Value& form);
    Value EvaluateBody(const std::vector<Value>& forms, std::size_t first);
    std::vector<Value> EvaluateArguments(const std::vector<Value>& items);
    Value Setq(const std::vector<Value>& items);
    Value If(const std::vector<Value>& items);
    Value Foreach(const std::vector<Value>& items);
    Value Load(const std::vector<Value>& arguments);
    FunctionLibrary* FindFunction(const std::string& name) const;

    std::vector<FunctionLibrary*> libraries_;
    std::map<std::wstring, Value> variables_;
    std::vector<std::string> scriptFolders_;
    int depth_ = 0;
};

}  // namespace kafcad
