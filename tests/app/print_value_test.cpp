#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "app/lisp/format_real.h"
#include "app/lisp/print_value.h"
#include "app/lisp/read_forms.h"

namespace {

using kafcad::FormatReal;
using kafcad::PrintValue;
using kafcad::ReadForms;
using kafcad::Value;

TEST(FormatReal, AlwaysADecimalPointAndNoMoreDigitsThanNeeded) {
    EXPECT_EQ(FormatReal(0.0), "0.0");
    EXPECT_EQ(FormatReal(-0.0), "-0.0");
    EXPECT_EQ(FormatReal(1.0), "1.0");
    EXPECT_EQ(FormatReal(0.1), "0.1");
    EXPECT_EQ(FormatReal(-2.5), "-2.5");
    EXPECT_EQ(FormatReal(123456.0), "123456.0");
    EXPECT_EQ(FormatReal(1e20), "1.0e+20");
    EXPECT_EQ(FormatReal(1.5e-7), "1.5e-07");
    EXPECT_EQ(FormatReal(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(FormatReal(std::numeric_limits<double>::infinity()), "1.#INF");
    EXPECT_EQ(FormatReal(-std::numeric_limits<double>::infinity()), "-1.#INF");
    EXPECT_EQ(FormatReal(std::nan("")), "-1.#IND");
}

TEST(FormatReal, ReadsBackToTheSameDouble) {
    const double samples[] = {0.1,
                              1.0 / 3.0,
                              2.0 / 3.0 * 1e300,
                              5e-324,
                              std::numeric_limits<double>::max(),
                              -std::numeric_limits<double>::min(),
                              123456789.123456789,
                              4503599627370497.0,
                              9007199254740993.0,
                              1e21,
                              1e-5,
                              std::numeric_limits<double>::infinity()};
    for (const double value : samples) {
        const auto forms = ReadForms(FormatReal(value));
        ASSERT_EQ(forms.size(), 1u) << FormatReal(value);
        ASSERT_EQ(forms[0].kind, Value::Kind::kReal) << FormatReal(value);
        EXPECT_EQ(forms[0].real, value) << FormatReal(value);
    }
}

TEST(PrintValue, AtomsInAutoLispForm) {
    EXPECT_EQ(PrintValue(Value::Nil()), "nil");
    EXPECT_EQ(PrintValue(Value::T()), "T");
    EXPECT_EQ(PrintValue(Value::Integer(-17)), "-17");
    EXPECT_EQ(PrintValue(Value::Real(3.0)), "3.0");
    EXPECT_EQ(PrintValue(Value::Symbol("KAF-DCT")), "KAF-DCT");
    EXPECT_EQ(PrintValue(Value::String("2A")), "\"2A\"");
    EXPECT_EQ(PrintValue(Value::String("say \"hi\"\\\n\t\r\x1b\x01")),
              R"("say \"hi\"\\\n\t\r\e\001")");
    EXPECT_EQ(PrintValue(Value::String("Gel\xC3\xA4nde")), "\"Gel\xC3\xA4nde\"");
}

TEST(PrintValue, TrianglesOfTheUnitSquare) {
    auto point = [](double x, double y) {
        return Value::List({Value::Real(x), Value::Real(y), Value::Real(0.0)});
    };
    const Value triangles = Value::List({Value::List({point(0, 0), point(1, 0), point(0, 1)}),
                                         Value::List({point(0, 1), point(1, 0), point(1, 1)})});
    EXPECT_EQ(PrintValue(triangles),
              "(((0.0 0.0 0.0) (1.0 0.0 0.0) (0.0 1.0 0.0)) "
              "((0.0 1.0 0.0) (1.0 0.0 0.0) (1.0 1.0 0.0)))");
}

TEST(PrintValue, PrintedValuesReadBackUnchanged) {
    const Value value = Value::List(
        {Value::String("a\"b\\c\nd\x02"), Value::Integer(2147483647), Value::Real(0.1),
         Value::Real(-1e-300), Value::T(),
         Value::List({Value::Symbol("QUOTE"), Value::List({Value::Nil(), Value::Real(7.0)})})});
    const auto forms = ReadForms(PrintValue(value));
    ASSERT_EQ(forms.size(), 1u);
    EXPECT_EQ(forms[0], value);
}

}  // namespace
