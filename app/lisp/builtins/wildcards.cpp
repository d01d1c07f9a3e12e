#include "app/lisp/builtins/wildcards.h"

#include <utility>
#include <vector>

namespace kafcad {
namespace {

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

bool IsLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

// One element of a pattern: a run of anything, or a test of one character.
struct Element {
    enum class Kind { kRun, kAny, kDigit, kLetter, kOther, kLiteral, kClass };
    explicit Element(Kind elementKind, wchar_t c = 0) : kind(elementKind), literal(c) {}

    Kind kind;
    wchar_t literal;
    std::vector<std::pair<wchar_t, wchar_t>> ranges;
    bool negated = false;

    bool Matches(wchar_t c) const {
        switch (kind) {
            case Kind::kAny:
                return true;
            case Kind::kDigit:
                return IsDigit(c);
            case Kind::kLetter:
                return IsLetter(c);
            case Kind::kOther:
                return !IsDigit(c) && !IsLetter(c);
            case Kind::kLiteral:
                return c == literal;
            case Kind::kClass:
                for (const auto& [low, high] : ranges) {
                    if (c >= low && c <= high) {
                        return !negated;
                    }
                }
                return negated;
            case Kind::kRun:
                break;
        }
        return false;
    }
};

// Reads a bracket class starting at pattern[pos] == '['; false (pos unchanged) when unclosed.
bool ReadClass(const std::wstring& pattern, std::size_t& pos, Element& element) {
    std::size_t i = pos + 1;
    element = Element(Element::Kind::kClass);
    if (i < pattern.size() && pattern[i] == L'~') {
        element.negated = true;
        ++i;
    }
    while (i < pattern.size() && pattern[i] != L']') {
        if (pattern[i] == L'`' && i + 1 < pattern.size()) {
            ++i;
        }
        wchar_t low = pattern[i++];
        wchar_t high = low;
        if (i + 1 < pattern.size() && pattern[i] == L'-' && pattern[i + 1] != L']') {
            high = pattern[i + 1];
            i += 2;
        }
        element.ranges.emplace_back(low, high);
    }
    if (i >= pattern.size()) {
        return false;
    }
    pos = i + 1;
    return true;
}

// The elements of one comma-free pattern.
std::vector<Element> Elements(const std::wstring& pattern) {
    std::vector<Element> elements;
    std::size_t pos = 0;
    while (pos < pattern.size()) {
        const wchar_t c = pattern[pos];
        Element element(Element::Kind::kLiteral, c);
        if (c == L'[' && ReadClass(pattern, pos, element)) {
            elements.push_back(element);
            continue;
        }
        ++pos;
        if (c == L'`' && pos < pattern.size()) {
            element.literal = pattern[pos++];
        } else if (c == L'*') {
            element.kind = Element::Kind::kRun;
        } else if (c == L'?') {
            element.kind = Element::Kind::kAny;
        } else if (c == L'#') {
            element.kind = Element::Kind::kDigit;
        } else if (c == L'@') {
            element.kind = Element::Kind::kLetter;
        } else if (c == L'.') {
            element.kind = Element::Kind::kOther;
        }
        elements.push_back(element);
    }
    return elements;
}

// Whether the whole text matches the elements: which prefixes of the elements can match each
// prefix of the text, one text character at a time.
bool MatchesElements(const std::wstring& text, const std::vector<Element>& elements) {
    std::vector<char> reachable(elements.size() + 1, 0);
    reachable[0] = 1;
    const auto closeRuns = [&]() {
        for (std::size_t j = 0; j < elements.size(); ++j) {
            if (reachable[j] && elements[j].kind == Element::Kind::kRun) {
                reachable[j + 1] = 1;
            }
        }
    };
    closeRuns();
    for (const wchar_t c : text) {
        std::vector<char> next(elements.size() + 1, 0);
        for (std::size_t j = 0; j < elements.size(); ++j) {
            if (!reachable[j]) {
                continue;
            }
            if (elements[j].kind == Element::Kind::kRun) {
                next[j] = 1;
            } else if (elements[j].Matches(c)) {
                next[j + 1] = 1;
            }
        }
        reachable = std::move(next);
        closeRuns();
    }
    return reachable[elements.size()] != 0;
}

// The comma-separated patterns, with their escapes kept for Elements.
std::vector<std::wstring> Alternatives(const std::wstring& pattern) {
    std::vector<std::wstring> alternatives(1);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == L'`' && i + 1 < pattern.size()) {
            alternatives.back() += pattern.substr(i, 2);
            ++i;
        } else if (pattern[i] == L',') {
            alternatives.emplace_back();
        } else {
            alternatives.back() += pattern[i];
        }
    }
    return alternatives;
}

}  // namespace

bool WildcardMatch(const std::wstring& text, const std::wstring& pattern) {
    for (const std::wstring& alternative : Alternatives(pattern)) {
        const bool negated = !alternative.empty() && alternative[0] == L'~';
        const bool matches =
            MatchesElements(text, Elements(negated ? alternative.substr(1) : alternative));
        if (matches != negated) {
            return true;
        }
    }
    return false;
}

}  // namespace kafcad
