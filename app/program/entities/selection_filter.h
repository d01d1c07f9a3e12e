// SelectionFilter: an ssget filter list, tested against entities' group lists (EntityGroups
// without geometry).
//
// Each (code . value) test passes when the entity has a group of that code whose value matches:
// strings as wild-card patterns (wcmatch, without regard to case: "BRK-*", "POLYLINE,MESH"),
// numbers equal, or as the relational test before it says ((-4 . "<=") (70 . 8); operators
// "*" "=" "!=" "/=" "<>" "<" "<=" ">" ">=" "&" (any bit in common) "&=" (all bits of the value)).
// Tests in a row must all pass; (-4 . "<AND") ... (-4 . "AND>"), "<OR" "OR>", "<XOR" "XOR>"
// (exactly one of two) and "<NOT" "NOT>" (the one test inside fails) group them. The constructor
// throws LispError "bad SSGET list" for an unbalanced or unknown operator, and refuses tests of
// points (10-13), which filter group lists do not carry. Colour (62) is 256 for BYLAYER.
#pragma once

#include <vector>

#include "app/lisp/value.h"

namespace kafcad {

class SelectionFilter {
public:
    explicit SelectionFilter(const Value& filter);
    bool Matches(const Value& groups) const;

private:
    struct Node {
        enum class Kind { kTest, kAnd, kOr, kXor, kNot } kind = Kind::kTest;
        int code = 0;
        Value value;
        std::string relation = "=";
        std::vector<Node> children;
    };
    static bool Passes(const Node& node, const Value& groups);
    static bool Test(const Node& node, const Value& groups);
    Node root_;
};

}  // namespace kafcad
