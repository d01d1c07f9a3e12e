#include "app/program/host_function_library.h"

#include <cstdint>

#include "app/lisp/error.h"
#include "app/lisp/print_value.h"
#include "app/lisp/text_case.h"
#include "kafhost/utf8_to_wide.h"
#include "kafhost/wide_to_utf8.h"

namespace kafcad {
namespace {

// The most items (atoms and lists) the arguments of one call may hold, a list that appears
// several times counted each time: the host makes a node of every one. Lists share their parts, so
// forty (setq x (list x x)) make a value of 2^40 items that must be refused, not expanded.
constexpr std::uint64_t kMaxPassedItems = 100000000;

// A symbol is kafcad's own: the host's interpreter has no way to pass one. Counts the value's
// items into items, stopping once there are too many.
void CheckPassable(const Value& value, const std::string& function, std::uint64_t& items) {
    if (++items > kMaxPassedItems) {
        throw LispError("bad argument value: the arguments of " + function +
                        " hold more than 100000000 items (a list used several times counts "
                        "each time)");
    }
    if (value.isSymbol()) {
        throw LispError("bad argument type: symbol " + kafhost::wideToUtf8(value.symbolName()) +
                        " cannot be passed to a function");
    }
    // The host's strings end at a NUL: "good.csv\000junk" would name good.csv.
    if (value.kind() == Value::Kind::kString &&
        value.asString().find(L'\0') != std::wstring::npos) {
        throw LispError("bad argument value: string with a NUL character " + PrintValue(value) +
                        " cannot be passed to a function");
    }
    for (const Value& item : value.items()) {
        CheckPassable(item, function, items);
    }
}

}  // namespace

std::wstring HostFunctionLibrary::DefinedName(const std::string& name) const {
    const std::wstring wanted = kafhost::utf8ToWide(name);
    for (const std::wstring& defined : host_.definedFunctions()) {
        if (SameIgnoringCase(defined, wanted)) {
            return defined;
        }
    }
    return std::wstring();
}

bool HostFunctionLibrary::Has(const std::string& name) const {
    return !DefinedName(name).empty();
}

Value HostFunctionLibrary::Call(const std::string& name, const std::vector<Value>& arguments) {
    const std::wstring defined = DefinedName(name);
    if (defined.empty()) {
        throw LispError("no function definition: " + name);
    }
    std::uint64_t items = 0;
    for (const Value& argument : arguments) {
        CheckPassable(argument, kafhost::wideToUtf8(defined), items);
    }

    const kafhost::CallResult result = host_.call(defined, arguments);
    const std::string label = kafhost::wideToUtf8(defined);
    if (!result.defined) {
        throw LispError("no function definition: " + name);
    }
    if (result.exceptionEscaped) {
        throw LispError("exception in " + label + ": " + kafhost::wideToUtf8(result.exceptionText));
    }
    if (result.status == RSERR) {
        throw LispError(label + " failed");
    }
    if (!result.resultValid) {
        throw LispError(label +
                        " returned a malformed result: " + kafhost::wideToUtf8(result.resultError));
    }
    return result.value;
}

}  // namespace kafcad
