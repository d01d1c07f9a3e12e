// kafcad's printed values: UTF-8 text that its reader reads back to the same value.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "app/lisp/print_value.h"
#include "app/lisp/read_forms.h"

namespace {

using kafcad::PrintValue;
using kafcad::ReadForms;
using kafcad::Value;

TEST(PrintValue, RealsReadBackToTheSameDouble) {
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
        const std::string text = PrintValue(Value::real(value));
        const auto forms = ReadForms(text);
        ASSERT_EQ(forms.size(), 1u) << text;
        ASSERT_EQ(forms[0].kind(), Value::Kind::kReal) << text;
        EXPECT_EQ(forms[0].asReal(), value) << text;
    }
}

TEST(PrintValue, Utf8TextOfTheHostsPrintedForm) {
    EXPECT_EQ(PrintValue(Value::list({Value::string(L"Gel\u00e4nde"), Value::real(3.0)})),
              "(\"Gel\xC3\xA4nde\" 3.0)");
    EXPECT_EQ(kafcad::DisplayValue(Value::string(L"Gel\u00e4nde")), "Gel\xC3\xA4nde");
}

TEST(PrintValue, PrintedValuesReadBackUnchanged) {
    const Value value = Value::list(
        {Value::string(L"a\"b\\c\nd\x02"), Value::integer(2147483647), Value::real(0.1),
         Value::real(-1e-300), Value::t(),
         Value::list({Value::symbol(L"QUOTE"), Value::list({Value::nil(), Value::real(7.0)})})});
    const auto forms = ReadForms(PrintValue(value));
    ASSERT_EQ(forms.size(), 1u);
    EXPECT_EQ(forms[0], value);
}

}  // namespace
