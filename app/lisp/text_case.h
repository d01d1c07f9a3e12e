// Case of wide text, as AutoLISP compares names (symbols, layers, tables, handles).
// UpperCaseText(text): the text with every character in upper case (towupper).
// SameIgnoringCase(a, b): whether the texts are equal when both are in upper case.
#pragma once

#include <cwctype>
#include <string>

namespace kafcad {

inline std::wstring UpperCaseText(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    }
    return text;
}

inline bool SameIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && UpperCaseText(a) == UpperCaseText(b);
}

}  // namespace kafcad
