#include "app/terminal/escape_controls.h"

namespace kafcad {
namespace {

void AppendEscaped(std::string& out, unsigned code) {
    switch (code) {
        case '\n':
            out += "\\n";
            return;
        case '\t':
            out += "\\t";
            return;
        case '\r':
            out += "\\r";
            return;
        case 0x1B:
            out += "\\e";
            return;
        default:
            break;
    }
    out += '\\';
    out += static_cast<char>('0' + ((code >> 6) & 7));
    out += static_cast<char>('0' + ((code >> 3) & 7));
    out += static_cast<char>('0' + (code & 7));
}

bool IsKept(unsigned char c, KeptControls kept) {
    return (c == '\n' && kept != KeptControls::kNone) ||
           (c == '\r' && kept == KeptControls::kLineEnds);
}

}  // namespace

std::string EscapeControls(const std::string& text, KeptControls kept) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const unsigned char next =
            i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (IsKept(c, kept)) {
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            AppendEscaped(out, c);
        } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
            // U+0080 ... U+009F in UTF-8.
            AppendEscaped(out, next);
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace kafcad
