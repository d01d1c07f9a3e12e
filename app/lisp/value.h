// An AutoLISP value as kafcad reads, evaluates and prints it: nil, T, a 32-bit integer, a real,
// a string (UTF-8), a symbol (its name as written) or a non-empty list. The empty list is nil.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kafcad {

struct Value {
    enum class Kind { kNil, kT, kInteger, kReal, kString, kSymbol, kList };

    Kind kind = Kind::kNil;
    std::int32_t integer = 0;
    double real = 0.0;
    std::string text;          // the string's contents or the symbol's name
    std::vector<Value> items;  // the list's elements

    static Value Nil() { return Value(); }
    static Value T() { return Make(Kind::kT); }
    static Value Integer(std::int32_t value) {
        Value v = Make(Kind::kInteger);
        v.integer = value;
        return v;
    }
    static Value Real(double value) {
        Value v = Make(Kind::kReal);
        v.real = value;
        return v;
    }
    static Value String(std::string value) {
        Value v = Make(Kind::kString);
        v.text = std::move(value);
        return v;
    }
    static Value Symbol(std::string name) {
        Value v = Make(Kind::kSymbol);
        v.text = std::move(name);
        return v;
    }
    // A list of the items; no items gives nil.
    static Value List(std::vector<Value> elements) {
        if (elements.empty())
            return Nil();
        Value v = Make(Kind::kList);
        v.items = std::move(elements);
        return v;
    }

    bool IsNil() const { return kind == Kind::kNil; }
    bool IsList() const { return kind == Kind::kList; }
    bool IsNumber() const { return kind == Kind::kInteger || kind == Kind::kReal; }
    bool IsSymbol() const { return kind == Kind::kSymbol; }

    // Structural equality; reals compare by value.
    bool operator==(const Value& other) const {
        return kind == other.kind && integer == other.integer &&
               (real == other.real || (real != real && other.real != other.real)) &&
               text == other.text && items == other.items;
    }
    bool operator!=(const Value& other) const { return !(*this == other); }

private:
    static Value Make(Kind kind) {
        Value v;
        v.kind = kind;
        return v;
    }
};

}  // namespace kafcad
