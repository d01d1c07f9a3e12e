#include "app/lisp/opaque_values.h"

#include <cwchar>

namespace kafcad {
namespace {

const std::wstring kEntityPrefix = L"<Entity name: ";
const std::wstring kSelectionPrefix = L"<Selection set: ";
const std::wstring kFilePrefix = L"<File #";

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The text between prefix and the closing '>' of an opaque value of that kind.
std::optional<std::wstring> Inner(const Value& value, const std::wstring& prefix) {
    if (!value.isSymbol()) {
        return std::nullopt;
    }
    const std::wstring& name = value.symbolName();
    if (!StartsWith(name, prefix) || name.back() != L'>') {
        return std::nullopt;
    }
    return name.substr(prefix.size(), name.size() - prefix.size() - 1);
}

std::optional<int> LeadingNumber(const std::optional<std::wstring>& text) {
    if (!text || text->empty()) {
        return std::nullopt;
    }
    return static_cast<int>(std::wcstol(text->c_str(), nullptr, 10));
}

}  // namespace

Value EntityName(const std::wstring& handle) {
    return Value::symbol(kEntityPrefix + handle + L">");
}

std::optional<std::wstring> EntityHandle(const Value& value) {
    return Inner(value, kEntityPrefix);
}

Value SelectionSet(int id) {
    return Value::symbol(kSelectionPrefix + std::to_wstring(id) + L">");
}

std::optional<int> SelectionSetId(const Value& value) {
    return LeadingNumber(Inner(value, kSelectionPrefix));
}

Value FileValue(int id, const std::wstring& name) {
    return Value::symbol(kFilePrefix + std::to_wstring(id) + L": \"" + name + L"\">");
}

std::optional<int> FileId(const Value& value) {
    return LeadingNumber(Inner(value, kFilePrefix));
}

std::string OpaqueTypeName(const Value& value) {
    if (EntityHandle(value)) {
        return "ENAME";
    }
    if (SelectionSetId(value)) {
        return "PICKSET";
    }
    if (FileId(value)) {
        return "FILE";
    }
    return "";
}

bool IsOpaque(const Value& value) {
    return value.isSymbol() && value.symbolName().find(L' ') != std::wstring::npos;
}

}  // namespace kafcad
