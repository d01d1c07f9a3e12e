// AutoLISP values as the stand-in host's interpreter passes them to and takes them from a
// module, and the result-buffer chains that carry them. kafcad reads, evaluates and prints the
// same values.
//
// LispValue: nil, T, a 32-bit integer, a real, a wide string, a non-empty list (the empty list is
// nil) or a symbol (a name; an interpreter's own, never passed to a module). Build with the
// static makers, compare with ==, print with toLispText or toDisplayText.
//
// valuesToChain(values): the argument chain the interpreter makes for a call with these
// arguments, one value after the other: an integer that fits 16 bits becomes RTSHORT, a larger
// one RTLONG; a real RTREAL; a list of exactly two numbers RTPOINT and of exactly three numbers
// RT3DPOINT (integers taken as reals); any other list RTLB ... RTLE with its elements converted
// the same way (nested); a string RTSTR; nil RTNIL; T RTT. No values give an empty (null) chain.
// A symbol has no node type: it throws std::invalid_argument.
//
// chainToValue(chain, value, error): the value AutoLISP sees for a result chain handed to
// acedRetList: RTLB/RTLE nesting becomes lists, RTPOINT and RT3DPOINT lists of two or three
// reals, RTSTR strings, RTSHORT/RTLONG integers, RTREAL reals, RTNIL nil, RTT T; an empty list is
// nil. A chain of one item gives that item, a chain of several items the list of them, an empty
// chain nil. False (with a description in error) for an RTLE without its RTLB, an RTLB without
// its RTLE, or a node type outside those.
//
// ChainBuilder: builds raw chains node by node for tests (a string among points, a handle list
// without its closing node, nested lists, ...). Chain owns a chain and frees it with acutRelRb.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "arx/ads.h"

namespace kafhost {

class LispValue {
public:
    enum class Kind { kNil, kT, kInteger, kReal, kString, kList, kSymbol };

    LispValue() = default;  // nil
    static LispValue nil() { return LispValue(); }
    static LispValue t();
    static LispValue integer(std::int32_t value);
    static LispValue real(double value);
    static LispValue string(std::wstring text);
    // The list of the items; no items give nil.
    static LispValue list(std::vector<LispValue> items);
    // A point as AutoLISP writes it: a list of two or three reals.
    static LispValue point(double x, double y);
    static LispValue point(double x, double y, double z);
    static LispValue symbol(std::wstring name);

    Kind kind() const { return kind_; }
    bool isNil() const { return kind_ == Kind::kNil; }
    bool isNumber() const { return kind_ == Kind::kInteger || kind_ == Kind::kReal; }
    bool isList() const { return kind_ == Kind::kList; }
    bool isSymbol() const { return kind_ == Kind::kSymbol; }
    std::int32_t asInteger() const { return integer_; }
    double asReal() const { return real_; }
    // An integer as a real, or the real.
    double asNumber() const;
    const std::wstring& asString() const { return text_; }
    const std::wstring& symbolName() const { return text_; }
    const std::vector<LispValue>& items() const;
    // How deeply lists nest in the value: 0 for an atom or nil, 1 for a list of atoms.
    std::uint32_t depth() const { return depth_; }

    // Same kind and same contents; an integer never equals a real.
    bool operator==(const LispValue& other) const;
    bool operator!=(const LispValue& other) const { return !(*this == other); }

private:
    Kind kind_ = Kind::kNil;
    std::int32_t integer_ = 0;
    double real_ = 0.0;
    std::wstring text_;
    std::uint32_t depth_ = 0;
    // A list's items are never changed once made, so copies of a value share them: passing a
    // large or deeply nested list around (setq, arguments, results) costs no copy of it.
    std::shared_ptr<const std::vector<LispValue>> items_;
};

// toLispText(value): AutoLISP's printed form, which reads back to the same value: nil, T,
// integers plainly, reals with a decimal point and the fewest digits that read back to the same
// double (0.0, 0.1, -2.5, 1.0e+20, 1.5e-07; 1.#INF, -1.#INF and -1.#IND for the infinities and
// NaN), strings in double quotes with \" \\ \n \t \r \e and other control characters as \ooo,
// symbols by name, lists in parentheses with their elements separated by one space.
// toDisplayText(value): the same, but strings (also inside lists) as their bare text, as princ
// shows them.
std::wstring toLispText(const LispValue& value);
std::wstring toDisplayText(const LispValue& value);

struct ChainDeleter {
    void operator()(resbuf* chain) const;
};
// An owned chain, freed with acutRelRb.
using Chain = std::unique_ptr<resbuf, ChainDeleter>;

Chain valuesToChain(const std::vector<LispValue>& values);
bool chainToValue(const resbuf* chain, LispValue& value, std::wstring* error = nullptr);
// A deep copy of a chain (strings copied with malloc).
Chain copyChain(const resbuf* chain);
// The node types of a chain, in order (for tests that check a chain's shape).
std::vector<short> chainTypes(const resbuf* chain);

class ChainBuilder {
public:
    ChainBuilder& lb();
    ChainBuilder& le();
    ChainBuilder& str(const std::wstring& text);
    ChainBuilder& point(double x, double y);
    ChainBuilder& point3(double x, double y, double z);
    ChainBuilder& shortInt(short value);
    ChainBuilder& longInt(std::int32_t value);
    ChainBuilder& real(double value);
    ChainBuilder& nil();
    ChainBuilder& t();
    // A node of any type with zero value (for unexpected types).
    ChainBuilder& node(short type);
    // The nodes of the values, as valuesToChain makes them.
    ChainBuilder& values(const std::vector<LispValue>& values);
    // Hands over the chain built so far; the builder is empty afterwards.
    Chain build();

private:
    ChainBuilder& append(resbuf* node);
    Chain chain_;
    resbuf* last_ = nullptr;
};

}  // namespace kafhost
