// HostFunctionLibrary: the AutoLISP functions defined in the host's current document (those of
// the loaded module), as a FunctionLibrary. Names match without regard to case, as AutoLISP
// symbols do. Call() passes the arguments as they are and fails with LispError for an argument
// that holds a symbol or a string with a NUL, for arguments of more than 100 million items (before
// the call), and when the function returns RSERR ("NAME failed"),
// lets an exception escape, or sets a result the interpreter cannot read.
#pragma once

#include <string>
#include <vector>

#include "app/lisp/function_library.h"
#include "kafhost/host.h"

namespace kafcad {

class HostFunctionLibrary : public FunctionLibrary {
public:
    explicit HostFunctionLibrary(kafhost::Host& host) : host_(host) {}
    bool Has(const std::string& name) const override;
    Value Call(const std::string& name, const std::vector<Value>& arguments) override;

private:
    // The defined function's own name, or an empty text when none matches.
    std::wstring DefinedName(const std::string& name) const;

    kafhost::Host& host_;
};

}  // namespace kafcad
