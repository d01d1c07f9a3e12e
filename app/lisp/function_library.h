// FunctionLibrary: the functions an expression can call, by name (symbol names are upper case;
// a library matches them without regard to case).
//
// Has(name): whether the library defines the function.
// Call(name, arguments): calls it with evaluated arguments and gives its result; throws
// LispError when the call fails.
#pragma once

#include <string>
#include <vector>

#include "app/lisp/value.h"

namespace kafcad {

class FunctionLibrary {
public:
    virtual ~FunctionLibrary() = default;
    virtual bool Has(const std::string& name) const = 0;
    virtual Value Call(const std::string& name, const std::vector<Value>& arguments) = 0;
};

}  // namespace kafcad
