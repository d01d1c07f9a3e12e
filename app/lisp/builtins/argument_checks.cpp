#include "app/lisp/builtins/argument_checks.h"

#include "app/lisp/byte_text.h"
#include "app/lisp/cons.h"
#include "app/lisp/error.h"
#include "app/lisp/print_value.h"

namespace kafcad {
namespace {

const std::vector<Value> kNoItems;

}  // namespace

void BadArgumentType(const std::string& predicate, const Value& value) {
    throw LispError("bad argument type: " + predicate + " " + PrintValue(value));
}

void BadArgumentValue(const std::string& what, const Value& value) {
    throw LispError("bad argument value: " + what + " " + PrintValue(value));
}

void CheckArgumentCount(const std::vector<Value>& arguments, std::size_t least, std::size_t most) {
    if (arguments.size() < least) {
        throw LispError("too few arguments");
    }
    if (arguments.size() > most) {
        throw LispError("too many arguments");
    }
}

double NumberArgument(const Value& value) {
    if (value.kind() == Value::Kind::kInteger) {
        return value.asInteger();
    }
    if (value.kind() == Value::Kind::kReal) {
        return value.asReal();
    }
    BadArgumentType("numberp:", value);
}

std::int32_t IntegerArgument(const Value& value) {
    if (value.kind() != Value::Kind::kInteger) {
        BadArgumentType("fixnump:", value);
    }
    return value.asInteger();
}

const std::wstring& StringArgument(const Value& value) {
    if (value.kind() != Value::Kind::kString) {
        BadArgumentType("stringp", value);
    }
    return value.asString();
}

const std::vector<Value>& ListArgument(const Value& value) {
    if (value.isNil()) {
        return kNoItems;
    }
    if (!value.isList()) {
        BadArgumentType("listp", value);
    }
    if (IsDotted(value)) {
        throw LispError("bad list: " + PrintValue(value));
    }
    return value.items();
}

const std::vector<Value>& ConsArgument(const Value& value) {
    if (value.isNil()) {
        return kNoItems;
    }
    if (!value.isList()) {
        BadArgumentType("consp", value);
    }
    return value.items();
}

const std::wstring& SymbolArgument(const Value& value) {
    if (!value.isSymbol() || value.symbolName().empty()) {
        BadArgumentType("symbolp", value);
    }
    return value.symbolName();
}

}  // namespace kafcad

namespace kafcad {

std::string FileNameArgument(const Value& value) {
    const std::wstring& name = StringArgument(value);
    if (name.find(L'\0') != std::wstring::npos) {
        throw LispError("bad argument value: file name with a NUL character: " + PrintValue(value));
    }
    return WideToBytes(name);
}

}  // namespace kafcad
