#include "app/program/to_host_value.h"

#include <vector>

#include "app/lisp/error.h"
#include "kafhost/utf8_to_wide.h"
#include "kafhost/wide_to_utf8.h"

namespace kafcad {

kafhost::LispValue ToHostValue(const Value& value) {
    using kafhost::LispValue;
    switch (value.kind) {
        case Value::Kind::kNil:
            return LispValue::nil();
        case Value::Kind::kT:
            return LispValue::t();
        case Value::Kind::kInteger:
            return LispValue::integer(value.integer);
        case Value::Kind::kReal:
            return LispValue::real(value.real);
        case Value::Kind::kString:
            return LispValue::string(kafhost::utf8ToWide(value.text));
        case Value::Kind::kSymbol:
            break;
        case Value::Kind::kList: {
            std::vector<LispValue> items;
            items.reserve(value.items.size());
            for (const Value& item : value.items)
                items.push_back(ToHostValue(item));
            return LispValue::list(std::move(items));
        }
    }
    throw LispError("bad argument type: symbol " + value.text + " cannot be passed to a function");
}

Value FromHostValue(const kafhost::LispValue& value) {
    using Kind = kafhost::LispValue::Kind;
    switch (value.kind()) {
        case Kind::kNil:
            return Value::Nil();
        case Kind::kT:
            return Value::T();
        case Kind::kInteger:
            return Value::Integer(value.asInteger());
        case Kind::kReal:
            return Value::Real(value.asReal());
        case Kind::kString:
            return Value::String(kafhost::wideToUtf8(value.asString()));
        case Kind::kList:
            break;
    }
    std::vector<Value> items;
    items.reserve(value.items().size());
    for (const kafhost::LispValue& item : value.items())
        items.push_back(FromHostValue(item));
    return Value::List(std::move(items));
}

}  // namespace kafcad
