// BuiltinLibrary: kafcad's own AutoLISP functions (arithmetic, lists, text), as a
// FunctionLibrary. Define(name, function) adds one under its upper-case name; Has and Call look
// names up without regard to case. A built-in checks its own arguments and throws LispError.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/lisp/function_library.h"

namespace kafcad {

using Builtin = std::function<Value(const std::vector<Value>& arguments)>;

class BuiltinLibrary : public FunctionLibrary {
public:
    void Define(const std::string& name, Builtin function);
    bool Has(const std::string& name) const override;
    Value Call(const std::string& name, const std::vector<Value>& arguments) override;

private:
    std::map<std::string, Builtin> functions_;
};

}  // namespace kafcad
