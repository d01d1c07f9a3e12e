#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/evaluate.h"
#include "app/exit_status.h"
#include "app/lisp_error.h"
#include "app/read_forms.h"

namespace {

using kafcad::Evaluate;
using kafcad::LispError;
using kafcad::ReadForms;
using kafcad::Value;

// A library with one function, ECHO, that records its calls and gives its arguments as a list.
class EchoLibrary : public kafcad::FunctionLibrary {
public:
    bool Has(const std::string& name) const override { return name == "ECHO"; }
    Value Call(const std::string& name, const std::vector<Value>& arguments) override {
        calls.push_back(name);
        return Value::List(arguments);
    }
    std::vector<std::string> calls;
};

Value EvaluateText(const std::string& text, EchoLibrary& library) {
    return Evaluate(ReadForms(text).at(0), library);
}

// The reason and exit status of a failing evaluation.
std::pair<std::string, int> Failure(const std::string& text) {
    EchoLibrary library;
    try {
        EvaluateText(text, library);
    } catch (const LispError& error) {
        return {error.what(), error.exitStatus()};
    }
    return {"(no error)", 0};
}

TEST(Evaluate, LiteralsEvaluateToThemselves) {
    EchoLibrary library;
    EXPECT_EQ(EvaluateText("12", library), Value::Integer(12));
    EXPECT_EQ(EvaluateText("\"s\"", library), Value::String("s"));
    EXPECT_EQ(EvaluateText("nil", library), Value::Nil());
    EXPECT_EQ(EvaluateText("T", library), Value::T());
    EXPECT_EQ(EvaluateText("'(a 1)", library),
              Value::List({Value::Symbol("A"), Value::Integer(1)}));
    EXPECT_TRUE(library.calls.empty());
}

TEST(Evaluate, CallGetsItsArgumentsEvaluatedInOrder) {
    EchoLibrary library;
    const Value result = EvaluateText("(echo '((0 0) (1 0)) \"TIN\" nil 5 (quote x))", library);
    const Value expected =
        Value::List({Value::List({Value::List({Value::Integer(0), Value::Integer(0)}),
                                  Value::List({Value::Integer(1), Value::Integer(0)})}),
                     Value::String("TIN"), Value::Nil(), Value::Integer(5), Value::Symbol("X")});
    EXPECT_EQ(result, expected);
    EXPECT_EQ(library.calls, std::vector<std::string>{"ECHO"});
}

TEST(Evaluate, ErrorsCarryAutoLispReasons) {
    EXPECT_EQ(Failure("(kaf-dtc '((0 0)))"),
              std::make_pair(std::string("no function definition: KAF-DTC"), kafcad::kExitUsage));
    EXPECT_EQ(Failure("(1 2 3)").first, "bad function: 1");
    EXPECT_EQ(Failure("(\"f\")").first, "bad function: \"f\"");
    EXPECT_EQ(Failure("(echo pts)").first, "variables are not supported: PTS");
    EXPECT_EQ(Failure("(quote)").first, "too few arguments");
    EXPECT_EQ(Failure("(quote a b)").first, "too many arguments");
}

TEST(Evaluate, UnknownFunctionIsReportedBeforeItsArgumentsAreEvaluated) {
    EchoLibrary library;
    EXPECT_THROW(EvaluateText("(nope (echo 1))", library), LispError);
    EXPECT_TRUE(library.calls.empty());
}

}  // namespace
