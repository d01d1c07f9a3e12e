#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/lisp/read_error.h"
#include "app/lisp/read_forms.h"

namespace {

using kafcad::ReadError;
using kafcad::ReadForms;
using kafcad::Value;

Value ReadOne(const std::string& text) {
    const std::vector<Value> forms = ReadForms(text);
    EXPECT_EQ(forms.size(), 1u) << text;
    return forms.empty() ? Value::Nil() : forms.front();
}

// The byte offset a malformed text is reported at.
std::size_t ErrorOffset(const std::string& text) {
    try {
        ReadForms(text);
    } catch (const ReadError& error) {
        return error.offset();
    }
    ADD_FAILURE() << "no ReadError for " << text;
    return std::string::npos;
}

TEST(ReadForms, IntegersAndRealsInAllWrittenForms) {
    EXPECT_EQ(ReadOne("42"), Value::Integer(42));
    EXPECT_EQ(ReadOne("-7"), Value::Integer(-7));
    EXPECT_EQ(ReadOne("+3"), Value::Integer(3));
    EXPECT_EQ(ReadOne("2147483647"), Value::Integer(2147483647));
    EXPECT_EQ(ReadOne("-2147483648"), Value::Integer(-2147483647 - 1));
    // Integers beyond 32 bits read as reals.
    EXPECT_EQ(ReadOne("2147483648"), Value::Real(2147483648.0));
    EXPECT_EQ(ReadOne("1.5"), Value::Real(1.5));
    EXPECT_EQ(ReadOne(".5"), Value::Real(0.5));
    EXPECT_EQ(ReadOne("-2."), Value::Real(-2.0));
    EXPECT_EQ(ReadOne("1e-3"), Value::Real(0.001));
    EXPECT_EQ(ReadOne("2.5E+10"), Value::Real(2.5e10));
    EXPECT_EQ(ReadOne("-.25e1"), Value::Real(-2.5));
    EXPECT_EQ(ReadOne("0.1"), Value::Real(0.1));
    EXPECT_EQ(ReadOne("1e-400"), Value::Real(0.0));
    EXPECT_TRUE(std::isinf(ReadOne("-1.#INF").real));
}

TEST(ReadForms, TokensThatAreNotNumbersAreUpperCaseSymbols) {
    EXPECT_EQ(ReadOne("kaf-dct"), Value::Symbol("KAF-DCT"));
    EXPECT_EQ(ReadOne("1e"), Value::Symbol("1E"));
    EXPECT_EQ(ReadOne(".5x"), Value::Symbol(".5X"));
    EXPECT_EQ(ReadOne("-"), Value::Symbol("-"));
    EXPECT_EQ(ReadOne("1+"), Value::Symbol("1+"));
    EXPECT_EQ(ReadOne("nil"), Value::Nil());
    EXPECT_EQ(ReadOne("NiL"), Value::Nil());
    EXPECT_EQ(ReadOne("t"), Value::T());
    EXPECT_EQ(ReadOne("()"), Value::Nil());
}

TEST(ReadForms, StringsWithEscapes) {
    EXPECT_EQ(ReadOne(R"("a \"b\" c\\d")"), Value::String("a \"b\" c\\d"));
    EXPECT_EQ(ReadOne(R"("line\nnext\ttab\rret\eesc")"), Value::String("line\nnext\ttab\rret\x1b"
                                                                       "esc"));
    EXPECT_EQ(ReadOne(R"("\101\0629")"), Value::String("A29"));
    EXPECT_EQ(ReadOne(R"("Gel\344nde")"), Value::String("Gel\xC3\xA4nde"));
    EXPECT_EQ(ReadOne("\"TIN (Gel\xC3\xA4nde)\""), Value::String("TIN (Gel\xC3\xA4nde)"));
    EXPECT_EQ(ReadOne("\"\""), Value::String(""));
}

TEST(ReadForms, QuotedAndNestedLists) {
    const Value quoteSymbol = Value::Symbol("QUOTE");
    const Value points =
        Value::List({Value::List({Value::Integer(0), Value::Real(0.5)}),
                     Value::List({Value::Integer(1), Value::Integer(2), Value::Real(-3.0)})});
    EXPECT_EQ(ReadOne("'((0 .5) (1 2 -3.))"), Value::List({quoteSymbol, points}));
    EXPECT_EQ(ReadOne("(quote ((0 .5) (1 2 -3.)))"), Value::List({quoteSymbol, points}));
    EXPECT_EQ(ReadOne("(kaf-dct '((0 .5)(1 2 -3.)))"),
              Value::List({Value::Symbol("KAF-DCT"), Value::List({quoteSymbol, points})}));
    EXPECT_EQ(ReadOne("(f \"x\"nil)"),
              Value::List({Value::Symbol("F"), Value::String("x"), Value::Nil()}));
}

TEST(ReadForms, SeveralFormsCommentsAndBlanks) {
    const std::vector<Value> forms = ReadForms("  (a) ; first\n\t(b 1) ;; second\n");
    ASSERT_EQ(forms.size(), 2u);
    EXPECT_EQ(forms[0], Value::List({Value::Symbol("A")}));
    EXPECT_EQ(forms[1], Value::List({Value::Symbol("B"), Value::Integer(1)}));
    EXPECT_TRUE(ReadForms(" ; nothing but a comment").empty());
}

TEST(ReadForms, MalformedTextIsReportedWhereItGoesWrong) {
    EXPECT_EQ(ErrorOffset("(kaf-dct '((0 0) (1 0)"), 10u);  // the innermost unclosed "("
    EXPECT_EQ(ErrorOffset("(a (b)"), 0u);
    EXPECT_EQ(ErrorOffset("(a))"), 3u);
    EXPECT_EQ(ErrorOffset("(f \"abc)"), 3u);
    EXPECT_EQ(ErrorOffset("(f \"a\\qb\")"), 5u);
    EXPECT_EQ(ErrorOffset("(f '"), 3u);
    EXPECT_EQ(ErrorOffset("(f ')"), 3u);
    EXPECT_EQ(ErrorOffset("(a . b)"), 3u);
    EXPECT_EQ(ErrorOffset("(f 1e999)"), 3u);
    EXPECT_EQ(ErrorOffset("\"\\777\""), 1u);
}

}  // namespace
