#include "app/program/entities/selection_filter.h"

#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/builtins/wildcards.h"
#include "app/lisp/error.h"
#include "app/lisp/text_case.h"
#include "app/program/entities/entity_groups.h"
#include "kafhost/wide_to_utf8.h"

namespace kafcad {
namespace {

[[noreturn]] void BadList(const std::string& why) {
    throw LispError("bad SSGET list: " + why);
}

bool Relates(double a, double b, const std::string& relation) {
    if (relation == "*") {
        return true;
    }
    if (relation == "=") {
        return a == b;
    }
    if (relation == "!=" || relation == "/=" || relation == "<>") {
        return a != b;
    }
    if (relation == "<") {
        return a < b;
    }
    if (relation == "<=") {
        return a <= b;
    }
    if (relation == ">") {
        return a > b;
    }
    if (relation == ">=") {
        return a >= b;
    }
    const auto x = static_cast<std::int64_t>(a);
    const auto y = static_cast<std::int64_t>(b);
    if (relation == "&") {
        return (x & y) != 0;
    }
    if (relation == "&=") {
        return (x & y) == y;
    }
    BadList("unknown operator \"" + relation + "\"");
}

bool IsRelation(const std::string& text) {
    for (const char* relation : {"*", "=", "!=", "/=", "<>", "<", "<=", ">", ">=", "&", "&="}) {
        if (text == relation) {
            return true;
        }
    }
    return false;
}

}  // namespace

SelectionFilter::SelectionFilter(const Value& filter) {
    root_.kind = Node::Kind::kAnd;
    std::vector<Node*> open{&root_};
    std::string relation = "=";
    for (const Value& group : ListArgument(filter)) {
        const int code = GroupCode(group);
        const Value value = GroupValue(group);
        if (code == -4) {
            const std::string op = kafhost::wideToUtf8(UpperCaseText(StringArgument(value)));
            if (IsRelation(op)) {
                relation = op;
                continue;
            }
            static const std::pair<const char*, Node::Kind> kGroups[] = {{"AND", Node::Kind::kAnd},
                                                                         {"OR", Node::Kind::kOr},
                                                                         {"XOR", Node::Kind::kXor},
                                                                         {"NOT", Node::Kind::kNot}};
            bool known = false;
            for (const auto& [name, kind] : kGroups) {
                if (op == std::string("<") + name) {
                    Node node;
                    node.kind = kind;
                    open.back()->children.push_back(node);
                    open.push_back(&open.back()->children.back());
                    known = true;
                } else if (op == std::string(name) + ">") {
                    if (open.size() < 2 || open.back()->kind != kind) {
                        BadList("\"" + op + "\" closes no \"<" + name + "\"");
                    }
                    open.pop_back();
                    known = true;
                }
            }
            if (!known) {
                BadList("unknown operator \"" + op + "\"");
            }
            continue;
        }
        if (code >= 10 && code <= 13) {
            throw LispError("ssget cannot filter by points in kafcad");
        }
        Node test;
        test.code = code;
        test.value = value;
        test.relation = relation;
        relation = "=";
        open.back()->children.push_back(test);
    }
    if (open.size() != 1) {
        BadList("an operator group is not closed");
    }
}

bool SelectionFilter::Matches(const Value& groups) const {
    return Passes(root_, groups);
}

bool SelectionFilter::Passes(const Node& node, const Value& groups) {
    switch (node.kind) {
        case Node::Kind::kTest:
            return Test(node, groups);
        case Node::Kind::kAnd:
            for (const Node& child : node.children) {
                if (!Passes(child, groups)) {
                    return false;
                }
            }
            return true;
        case Node::Kind::kOr:
            for (const Node& child : node.children) {
                if (Passes(child, groups)) {
                    return true;
                }
            }
            return false;
        case Node::Kind::kXor: {
            int passing = 0;
            for (const Node& child : node.children) {
                passing += Passes(child, groups) ? 1 : 0;
            }
            return passing == 1;
        }
        case Node::Kind::kNot:
            for (const Node& child : node.children) {
                if (Passes(child, groups)) {
                    return false;
                }
            }
            return true;
    }
    return false;
}

bool SelectionFilter::Test(const Node& node, const Value& groups) {
    for (const Value& group : groups.items()) {
        if (GroupCode(group) != node.code) {
            continue;
        }
        const Value value = GroupValue(group);
        if (node.value.kind() == Value::Kind::kString && value.kind() == Value::Kind::kString) {
            if (WildcardMatch(UpperCaseText(value.asString()),
                              UpperCaseText(node.value.asString()))) {
                return true;
            }
        } else if (node.value.isNumber() && value.isNumber()) {
            if (Relates(value.asNumber(), node.value.asNumber(), node.relation)) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace kafcad
