#include <gtest/gtest.h>

#include <string>

#include "lisp_session.h"
#include "support/files.h"

namespace {

using kafcad::Value;

TEST(Evaluate, LiteralsEvaluateToThemselvesAndUnsetVariablesToNil) {
    LispSession lisp;
    EXPECT_EQ(lisp.Run("12"), Value::integer(12));
    EXPECT_EQ(lisp.Run("\"s\""), Value::string(L"s"));
    EXPECT_EQ(lisp.Run("T"), Value::t());
    EXPECT_EQ(lisp.Printed("'(a 1)"), "(A 1)");
    EXPECT_EQ(lisp.Run("never-set"), Value::nil());
    EXPECT_TRUE(lisp.echo.calls.empty());
}

TEST(Evaluate, CallGetsItsArgumentsEvaluatedInOrder) {
    LispSession lisp;
    EXPECT_EQ(lisp.Printed("(setq x 5) (echo '((0 0) (1 0)) \"TIN\" nil x (quote y))"),
              "(((0 0) (1 0)) \"TIN\" nil 5 Y)");
    EXPECT_EQ(lisp.echo.calls, std::vector<std::string>{"ECHO"});
}

TEST(Evaluate, SetqSetsInPairsAndGivesTheLastValue) {
    LispSession lisp;
    EXPECT_EQ(lisp.Printed("(setq a 1 b (+ a 1))"), "2");
    EXPECT_EQ(lisp.Printed("(list a b)"), "(1 2)");
    // Names are symbols without regard to case.
    EXPECT_EQ(lisp.Printed("(setq Pts '((0 0))) PTS"), "((0 0))");
    EXPECT_EQ(lisp.Printed("(setq)"), "nil");
    EXPECT_EQ(lisp.Failure("(setq a)"), "too few arguments");
    EXPECT_EQ(lisp.Failure("(setq a 1 b)"), "too few arguments");
    EXPECT_EQ(lisp.Failure("(setq 1 2)"), "bad argument type: symbolp 1");
    EXPECT_EQ(lisp.Failure("(setq \"a\" 2)"), "bad argument type: symbolp \"a\"");
}

TEST(Evaluate, IfAndProgn) {
    LispSession lisp;
    EXPECT_EQ(lisp.Printed("(if T 1 2)"), "1");
    EXPECT_EQ(lisp.Printed("(if nil 1 2)"), "2");
    EXPECT_EQ(lisp.Printed("(if nil 1)"), "nil");
    // Every non-nil value is true, 0 and "" included.
    EXPECT_EQ(lisp.Printed("(if 0 'yes 'no)"), "YES");
    EXPECT_EQ(lisp.Printed("(if (< 2 1) (setq r 'wrong) (progn (setq r 'right) 3))"), "3");
    EXPECT_EQ(lisp.Printed("r"), "RIGHT");
    EXPECT_EQ(lisp.Printed("(progn)"), "nil");
    EXPECT_EQ(lisp.Failure("(if T)"), "too few arguments");
    EXPECT_EQ(lisp.Failure("(if T 1 2 3)"), "too many arguments");
}

TEST(Evaluate, ForeachVisitsEveryElementAndRestoresItsVariable) {
    LispSession lisp;
    EXPECT_EQ(lisp.Printed("(setq h 'before sum 0)"
                           "(foreach h '(1 2 3.5) (setq sum (+ sum h)) (* 2 h))"),
              "7.0");
    EXPECT_EQ(lisp.Printed("sum"), "6.5");
    EXPECT_EQ(lisp.Printed("h"), "BEFORE");
    EXPECT_EQ(lisp.Printed("(foreach x nil (echo x))"), "nil");
    EXPECT_TRUE(lisp.echo.calls.empty());
    EXPECT_EQ(lisp.Failure("(foreach x 5 x)"), "bad argument type: listp 5");
    EXPECT_EQ(lisp.Failure("(foreach 1 '(1) 1)"), "bad argument type: symbolp 1");
    EXPECT_EQ(lisp.Printed("(foreach x '(1))"), "nil");
    EXPECT_EQ(lisp.Failure("(foreach x)"), "too few arguments");
    // An error inside the loop still gives the variable back.
    EXPECT_EQ(lisp.Failure("(foreach h '(1 \"two\") (+ h 1))"),
              "bad argument type: numberp: \"two\"");
    EXPECT_EQ(lisp.Printed("h"), "BEFORE");
}

TEST(Evaluate, ErrorsCarryAutoLispReasons) {
    LispSession lisp;
    EXPECT_EQ(lisp.Failure("(kaf-dtc '((0 0)))"), "no function definition: KAF-DTC");
    EXPECT_EQ(lisp.Failure("(1 2 3)"), "bad function: 1");
    EXPECT_EQ(lisp.Failure("(\"f\")"), "bad function: \"f\"");
    EXPECT_EQ(lisp.Failure("(quote)"), "too few arguments");
    EXPECT_EQ(lisp.Failure("(quote a b)"), "too many arguments");
}

TEST(Evaluate, UnknownFunctionIsReportedBeforeItsArgumentsAreEvaluated) {
    LispSession lisp;
    EXPECT_EQ(lisp.Failure("(nope (echo 1))"), "no function definition: NOPE");
    EXPECT_TRUE(lisp.echo.calls.empty());
}

// A scratch folder with script files for load.
class LoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        Write("lib/points.lsp", "(setq pts '((0 0) (1 0) (0 1)))\n(length pts) ; last value\n");
        Write("lib/chain.lsp", "(load \"points\")\n(setq chained (echo pts))\n");
        Write("lib/broken.lsp", "(setq a 1)\n(setq b (list 2)\n");
        Write("lib/self.lsp", "(load \"self\")\n");
    }
    void Write(const std::string& name, const std::string& text) { temp_.Write(name, text); }
    std::string Path(const std::string& name) const { return temp_.Path(name).string(); }
    TempFolder temp_;
};

TEST_F(LoadTest, LoadEvaluatesTheFileAndGivesItsLastValue) {
    LispSession lisp;
    EXPECT_EQ(lisp.Printed("(load \"" + Path("lib/points.lsp") + "\")"), "3");
    EXPECT_EQ(lisp.Printed("pts"), "((0 0) (1 0) (0 1))");
}

TEST_F(LoadTest, NamesResolveWithLspAddedAndInTheLoadingScriptsFolder) {
    LispSession lisp;
    // chain.lsp loads "points" from its own folder; the session runs in another folder.
    EXPECT_EQ(lisp.Printed("(load \"" + Path("lib/chain") + "\")"), "(((0 0) (1 0) (0 1)))");
    EXPECT_EQ(lisp.Printed("(load \"chain\" 'none)"), "NONE");
    EXPECT_EQ(lisp.Run("(load \"chain\")", Path("lib")), lisp.Run("chained"));
}

TEST_F(LoadTest, LoadFailuresAreErrors) {
    LispSession lisp;
    EXPECT_EQ(lisp.Failure("(load \"no-such-script\")"), "LOAD failed: \"no-such-script\"");
    EXPECT_EQ(lisp.Printed("(load \"no-such-script\" \"fallback\")"), "\"fallback\"");
    EXPECT_EQ(lisp.Failure("(load 5)"), "bad argument type: stringp 5");
    EXPECT_EQ(lisp.Failure("(load \"" + Path("lib/broken.lsp") + "\")"),
              "malformed expression (" + Path("lib/broken.lsp") +
                  ", line 2, column 1): missing \")\" for the \"(\" opened here");
    EXPECT_EQ(lisp.Failure("(load \"" + Path("lib/self.lsp") + "\")"),
              "LOAD failed: \"self\" is loaded 64 levels deep");
}

}  // namespace
