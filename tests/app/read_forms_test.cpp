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
    return forms.empty() ? Value::nil() : forms.front();
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
    EXPECT_EQ(ReadOne("42"), Value::integer(42));
    EXPECT_EQ(ReadOne("-7"), Value::integer(-7));
    EXPECT_EQ(ReadOne("+3"), Value::integer(3));
    EXPECT_EQ(ReadOne("2147483647"), Value::integer(2147483647));
    EXPECT_EQ(ReadOne("-2147483648"), Value::integer(-2147483647 - 1));
    // Integers beyond 32 bits read as reals.
    EXPECT_EQ(ReadOne("2147483648"), Value::real(2147483648.0));
    EXPECT_EQ(ReadOne("1.5"), Value::real(1.5));
    EXPECT_EQ(ReadOne(".5"), Value::real(0.5));
    EXPECT_EQ(ReadOne("-2."), Value::real(-2.0));
    EXPECT_EQ(ReadOne("1e-3"), Value::real(0.001));
    EXPECT_EQ(ReadOne("2.5E+10"), Value::real(2.5e10));
    EXPECT_EQ(ReadOne("-.25e1"), Value::real(-2.5));
    EXPECT_EQ(ReadOne("0.1"), Value::real(0.1));
    EXPECT_EQ(ReadOne("1e-400"), Value::real(0.0));
    EXPECT_TRUE(std::isinf(ReadOne("-1.#INF").asReal()));
}

TEST(ReadForms, TokensThatAreNotNumbersAreUpperCaseSymbols) {
    EXPECT_EQ(ReadOne("kaf-dct"), Value::symbol(L"KAF-DCT"));
    EXPECT_EQ(ReadOne("1e"), Value::symbol(L"1E"));
    EXPECT_EQ(ReadOne(".5x"), Value::symbol(L".5X"));
    EXPECT_EQ(ReadOne("-"), Value::symbol(L"-"));
    EXPECT_EQ(ReadOne("1+"), Value::symbol(L"1+"));
    EXPECT_EQ(ReadOne("nil"), Value::nil());
    EXPECT_EQ(ReadOne("NiL"), Value::nil());
    EXPECT_EQ(ReadOne("t"), Value::t());
    EXPECT_EQ(ReadOne("()"), Value::nil());
}

TEST(ReadForms, StringsWithEscapes) {
    EXPECT_EQ(ReadOne(R"("a \"b\" c\\d")"), Value::string(L"a \"b\" c\\d"));
    EXPECT_EQ(ReadOne(R"("line\nnext\ttab\rret\eesc")"), Value::string(L"line\nnext\ttab\rret\x1b"
                                                                       "esc"));
    EXPECT_EQ(ReadOne(R"("\101\0629")"), Value::string(L"A29"));
    EXPECT_EQ(ReadOne(R"("Gel\344nde")"), Value::string(L"Gel\u00e4nde"));
    EXPECT_EQ(ReadOne("\"TIN (Gel\xC3\xA4nde)\""), Value::string(L"TIN (Gel\u00e4nde)"));
    EXPECT_EQ(ReadOne("\"\""), Value::string(L""));
}

TEST(ReadForms, QuotedAndNestedLists) {
    const Value quoteSymbol = Value::symbol(L"QUOTE");
    const Value points =
        Value::list({Value::list({Value::integer(0), Value::real(0.5)}),
                     Value::list({Value::integer(1), Value::integer(2), Value::real(-3.0)})});
    EXPECT_EQ(ReadOne("'((0 .5) (1 2 -3.))"), Value::list({quoteSymbol, points}));
    EXPECT_EQ(ReadOne("(quote ((0 .5) (1 2 -3.)))"), Value::list({quoteSymbol, points}));
    EXPECT_EQ(ReadOne("(kaf-dct '((0 .5)(1 2 -3.)))"),
              Value::list({Value::symbol(L"KAF-DCT"), Value::list({quoteSymbol, points})}));
    EXPECT_EQ(ReadOne("(f \"x\"nil)"),
              Value::list({Value::symbol(L"F"), Value::string(L"x"), Value::nil()}));
}

TEST(ReadForms, SeveralFormsCommentsAndBlanks) {
    const std::vector<Value> forms = ReadForms("  (a) ; first\n\t(b 1) ;; second\n");
    ASSERT_EQ(forms.size(), 2u);
    EXPECT_EQ(forms[0], Value::list({Value::symbol(L"A")}));
    EXPECT_EQ(forms[1], Value::list({Value::symbol(L"B"), Value::integer(1)}));
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
    EXPECT_EQ(ErrorOffset("( . b)"), 2u);     // a dot with nothing before it
    EXPECT_EQ(ErrorOffset("(a . b c)"), 7u);  // more than one element after the dot
    EXPECT_EQ(ErrorOffset("(a .)"), 3u);
    EXPECT_EQ(ErrorOffset("a . b"), 2u);
    EXPECT_EQ(ErrorOffset("(f 1e999)"), 3u);
    EXPECT_EQ(ErrorOffset("\"\\777\""), 1u);
}

}  // namespace
