#include "app/lisp/print_value.h"

#include <cstdio>

#include "app/lisp/format_real.h"

namespace kafcad {
namespace {

void AppendString(const std::string& text, std::string& out) {
    out += '"';
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\x1b':
                out += "\\e";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 || c == '\x7f') {
                    char octal[8];
                    std::snprintf(octal, sizeof octal, "\\%03o", static_cast<unsigned char>(c));
                    out += octal;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

void AppendValue(const Value& value, bool quoted, std::string& out) {
    switch (value.kind) {
        case Value::Kind::kNil:
            out += "nil";
            break;
        case Value::Kind::kT:
            out += "T";
            break;
        case Value::Kind::kInteger:
            out += std::to_string(value.integer);
            break;
        case Value::Kind::kReal:
            out += FormatReal(value.real);
            break;
        case Value::Kind::kString:
            if (quoted)
                AppendString(value.text, out);
            else
                out += value.text;
            break;
        case Value::Kind::kSymbol:
            out += value.text;
            break;
        case Value::Kind::kList:
            out += '(';
            for (std::size_t i = 0; i < value.items.size(); ++i) {
                if (i > 0)
                    out += ' ';
                AppendValue(value.items[i], quoted, out);
            }
            out += ')';
            break;
    }
}

}  // namespace

std::string PrintValue(const Value& value) {
    std::string out;
    AppendValue(value, true, out);
    return out;
}

std::string DisplayValue(const Value& value) {
    std::string out;
    AppendValue(value, false, out);
    return out;
}

}  // namespace kafcad
