#include "app/lisp/builtins/strings.h"

#include <cwctype>
#include <stdexcept>

#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/builtins/wildcards.h"
#include "app/lisp/error.h"
#include "app/lisp/print_value.h"
#include "app/lisp/read_forms.h"
#include "kafhost/utf8_to_wide.h"
#include "kafhost/wide_to_utf8.h"

namespace kafcad {
namespace {

std::size_t Position(const Value& value, std::int32_t lowest) {
    const std::int32_t position = IntegerArgument(value);
    if (position < lowest) {
        throw LispError("bad argument value: string position out of range " +
                        std::to_string(position));
    }
    return static_cast<std::size_t>(position);
}

Value Substr(const std::vector<Value>& a) {
    CheckArgumentCount(a, 2, 3);
    const std::wstring& text = StringArgument(a[0]);
    const std::size_t start = Position(a[1], 1) - 1;
    const std::size_t length = a.size() == 3 ? Position(a[2], 0) : std::wstring::npos;
    if (start >= text.size()) {
        return Value::string(L"");
    }
    return Value::string(text.substr(start, length));
}

Value StrCase(const std::vector<Value>& a) {
    CheckArgumentCount(a, 1, 2);
    std::wstring text = StringArgument(a[0]);
    const bool lower = a.size() == 2 && !a[1].isNil();
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(lower ? std::towlower(static_cast<wint_t>(c))
                                       : std::towupper(static_cast<wint_t>(c)));
    }
    return Value::string(std::move(text));
}

std::size_t OptionalStart(const std::vector<Value>& a, std::size_t index) {
    return a.size() > index ? Position(a[index], 0) : 0;
}

Value Search(const std::vector<Value>& a) {
    CheckArgumentCount(a, 2, 3);
    const std::wstring& pattern = StringArgument(a[0]);
    const std::wstring& text = StringArgument(a[1]);
    const std::size_t found = text.find(pattern, OptionalStart(a, 2));
    return found == std::wstring::npos ? Value::nil()
                                       : Value::integer(static_cast<std::int32_t>(found));
}

Value Subst(const std::vector<Value>& a) {
    CheckArgumentCount(a, 3, 4);
    const std::wstring& replacement = StringArgument(a[0]);
    const std::wstring& pattern = StringArgument(a[1]);
    std::wstring text = StringArgument(a[2]);
    const std::size_t found = text.find(pattern, OptionalStart(a, 3));
    if (found != std::wstring::npos) {
        text.replace(found, pattern.size(), replacement);
    }
    return Value::string(std::move(text));
}

Builtin Trim(bool left, bool right) {
    return [left, right](const std::vector<Value>& a) {
        CheckArgumentCount(a, 2, 2);
        const std::wstring& characters = StringArgument(a[0]);
        const std::wstring& text = StringArgument(a[1]);
        std::size_t begin = left ? text.find_first_not_of(characters) : 0;
        if (begin == std::wstring::npos) {
            return Value::string(L"");
        }
        std::size_t end = right ? text.find_last_not_of(characters) + 1 : text.size();
        return Value::string(text.substr(begin, end - begin));
    };
}

Value Read(const std::vector<Value>& a) {
    CheckArgumentCount(a, 1, 1);
    std::vector<Value> forms;
    try {
        forms = ReadForms(kafhost::wideToUtf8(StringArgument(a[0])));
    } catch (const std::runtime_error&) {
        throw LispError("malformed list on input");
    }
    return forms.empty() ? Value::nil() : forms.front();
}

}  // namespace

void DefineStringFunctions(BuiltinLibrary& library) {
    library.Define("strlen", [](const std::vector<Value>& a) {
        std::size_t length = 0;
        for (const Value& text : a) {
            length += StringArgument(text).size();
        }
        return Value::integer(static_cast<std::int32_t>(length));
    });
    library.Define("substr", Substr);
    library.Define("strcase", StrCase);
    library.Define("wcmatch", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 2, 2);
        return Truth(WildcardMatch(StringArgument(a[0]), StringArgument(a[1])));
    });
    library.Define("vl-string-search", Search);
    library.Define("vl-string-subst", Subst);
    library.Define("vl-string-trim", Trim(true, true));
    library.Define("vl-string-left-trim", Trim(true, false));
    library.Define("vl-string-right-trim", Trim(false, true));
    library.Define("vl-prin1-to-string", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        return Value::string(kafhost::utf8ToWide(PrintValue(a[0])));
    });
    library.Define("vl-princ-to-string", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        return Value::string(kafhost::utf8ToWide(DisplayValue(a[0])));
    });
    library.Define("read", Read);
}

}  // namespace kafcad
