#include "app/lisp/builtins/library.h"

#include <cctype>

#include "app/lisp/error.h"

namespace kafcad {
namespace {

std::string UpperCase(std::string name) {
    for (char& c : name) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return name;
}

}  // namespace

void BuiltinLibrary::Define(const std::string& name, Builtin function) {
    functions_[UpperCase(name)] = std::move(function);
}

bool BuiltinLibrary::Has(const std::string& name) const {
    return functions_.count(UpperCase(name)) != 0;
}

Value BuiltinLibrary::Call(const std::string& name, const std::vector<Value>& arguments) {
    const auto found = functions_.find(UpperCase(name));
    if (found == functions_.end()) {
        throw LispError("no function definition: " + name);
    }
    return found->second(arguments);
}

}  // namespace kafcad
