#include "app/lisp/read_forms.h"

#include <cctype>
#include <stdexcept>
#include <string>

#include "app/lisp/byte_text.h"
#include "app/lisp/cons.h"
#include "app/lisp/parse_number.h"
#include "app/lisp/read_error.h"
#include "kafhost/utf8_to_wide.h"

namespace kafcad {
namespace {

bool IsDelimiter(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0 || c == '(' || c == ')' || c == '\'' ||
           c == '"' || c == ';';
}

bool IsOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

std::string ToUpper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

// Lists and quotes nested deeper than this are refused: the reader and the evaluator recurse once
// per level as well.
constexpr int kMaxNesting = kMaxListNesting;

// A recursive-descent reader over one text.
class Reader {
public:
    explicit Reader(const std::string& text) : text_(text) {}

    std::vector<Value> ReadAll() {
        std::vector<Value> forms;
        while (SkipBlanks()) {
            if (text_[pos_] == ')') {
                throw ReadError("unexpected \")\"", pos_);
            }
            forms.push_back(ReadForm());
        }
        return forms;
    }

private:
    // Skips white space and comments; false at the end of the text.
    bool SkipBlanks() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == ';') {
                while (pos_ < text_.size() && text_[pos_] != '\n') {
                    ++pos_;
                }
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                ++pos_;
            } else {
                return true;
            }
        }
        return false;
    }

    // Counts one level of nesting while a list or quote is read.
    class Nesting {
    public:
        explicit Nesting(Reader& reader) : reader_(reader) {
            if (++reader_.depth_ > kMaxNesting) {
                throw ReadError("too deeply nested (more than " + std::to_string(kMaxNesting) +
                                    " levels of lists and quotes)",
                                reader_.pos_);
            }
        }
        ~Nesting() { --reader_.depth_; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

    private:
        Reader& reader_;
    };

    Value ReadForm() {
        const char c = text_[pos_];
        if (c == '(') {
            return ReadList();
        }
        if (c == '\'') {
            return ReadQuoted();
        }
        if (c == '"') {
            return ReadString();
        }
        return ReadAtom();
    }

    Value ReadList() {
        const Nesting nesting(*this);
        const std::size_t open = pos_++;
        std::vector<Value> items;
        for (;;) {
            if (!SkipBlanks()) {
                throw ReadError("missing \")\" for the \"(\" opened here", open, true);
            }
            if (text_[pos_] == ')') {
                ++pos_;
                return Value::list(std::move(items));
            }
            if (AtDot()) {
                return ReadDottedTail(std::move(items), open);
            }
            items.push_back(ReadForm());
        }
    }

    // Whether the next token is a lone ".", the dot of a dotted pair.
    bool AtDot() const {
        return text_[pos_] == '.' && (pos_ + 1 == text_.size() || IsDelimiter(text_[pos_ + 1]));
    }

    // The end of (a b . tail), at its dot: the list's items with the tail's as the last cdr.
    Value ReadDottedTail(std::vector<Value> items, std::size_t open) {
        const std::size_t dot = pos_++;
        if (items.empty() || !SkipBlanks() || text_[pos_] == ')') {
            throw ReadError("misplaced \".\" in a list", dot);
        }
        const Value tail = ReadForm();
        if (!SkipBlanks()) {
            throw ReadError("missing \")\" for the \"(\" opened here", open, true);
        }
        if (text_[pos_] != ')') {
            throw ReadError("more than one element after \".\"", pos_);
        }
        ++pos_;
        if (tail.isList()) {
            items.insert(items.end(), tail.items().begin(), tail.items().end());
        } else if (!tail.isNil()) {
            items.push_back(DotMarker());
            items.push_back(tail);
        }
        return Value::list(std::move(items));
    }

    Value ReadQuoted() {
        const Nesting nesting(*this);
        const std::size_t quote = pos_++;
        if (!SkipBlanks()) {
            throw ReadError("nothing to quote after \"'\"", quote, true);
        }
        if (text_[pos_] == ')') {
            throw ReadError("nothing to quote after \"'\"", quote);
        }
        Value quoted = ReadForm();
        return Value::list({Value::symbol(L"QUOTE"), std::move(quoted)});
    }

    Value ReadString() {
        const std::size_t open = pos_++;
        std::string contents;
        for (;;) {
            if (pos_ >= text_.size()) {
                throw ReadError("unterminated string", open, true);
            }
            const char c = text_[pos_++];
            if (c == '"') {
                // Bytes that are not UTF-8 are kept, so that such a file name still opens.
                return Value::string(BytesToWide(contents));
            }
            if (c == '\\') {
                contents += ReadEscape();
            } else {
                contents += c;
            }
        }
    }

    // The UTF-8 text an escape stands for; pos_ is just past the backslash. An octal escape is a
    // character code (0 ... 255).
    std::string ReadEscape() {
        const std::size_t backslash = pos_ - 1;
        if (pos_ >= text_.size()) {
            throw ReadError("unterminated string", backslash, true);
        }
        const char c = text_[pos_++];
        switch (c) {
            case '"':
                return "\"";
            case '\\':
                return "\\";
            case 'n':
                return "\n";
            case 't':
                return "\t";
            case 'r':
                return "\r";
            case 'e':
                return "\x1b";
            default:
                break;
        }
        if (IsOctalDigit(c)) {
            int code = c - '0';
            for (int i = 0; i < 2 && pos_ < text_.size() && IsOctalDigit(text_[pos_]); ++i) {
                code = code * 8 + (text_[pos_++] - '0');
            }
            if (code > 0xFF) {
                throw ReadError("octal escape above \\377", backslash);
            }
            if (code < 0x80) {
                return std::string(1, static_cast<char>(code));
            }
            return {static_cast<char>(0xC0 | (code >> 6)), static_cast<char>(0x80 | (code & 0x3F))};
        }
        throw ReadError(std::string("unknown escape \"\\") + c + "\" in string", backslash);
    }

    Value ReadAtom() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && !IsDelimiter(text_[pos_])) {
            ++pos_;
        }
        const std::string token = text_.substr(start, pos_ - start);
        if (token == ".") {
            throw ReadError("misplaced \".\" outside a list", start);
        }
        try {
            if (auto number = ParseNumber(token)) {
                return *number;
            }
        } catch (const std::range_error& error) {
            throw ReadError(error.what(), start);
        }
        // Symbol names are case-insensitive; AutoLISP keeps them in upper case.
        const std::string name = ToUpper(token);
        if (name == "NIL") {
            return Value::nil();
        }
        if (name == "T") {
            return Value::t();
        }
        return Value::symbol(kafhost::utf8ToWide(name));
    }

    const std::string& text_;
    std::size_t pos_ = 0;
    int depth_ = 0;
};

}  // namespace

std::vector<Value> ReadForms(const std::string& text) {
    return Reader(text).ReadAll();
}

}  // namespace kafcad
