#include <gtest/gtest.h>

#include <string>

#include "lisp_session.h"

namespace {

TEST(Arithmetic, IntegersStayIntegersUntilARealTakesPart) {
    LispSession lisp;
    EXPECT_EQ(lisp.Printed("(+ 1 2 3)"), "6");
    EXPECT_EQ(lisp.Printed("(+ 1 2.5)"), "3.5");
    EXPECT_EQ(lisp.Printed("(- 10 4 1)"), "5");
    EXPECT_EQ(lisp.Printed("(- 5)"), "-5");
    EXPECT_EQ(lisp.Printed("(- 2.5)"), "-2.5");
    EXPECT_EQ(lisp.Printed("(* 2 3)"), "6");
    EXPECT_EQ(lisp.Printed("(* 2 0.5)"), "1.0");
    EXPECT_EQ(lisp.Printed("(/ 7 2)"), "3");
    EXPECT_EQ(lisp.Printed("(/ -7 2)"), "-3");
    EXPECT_EQ(lisp.Printed("(/ 7 2.0)"), "3.5");
    EXPECT_EQ(lisp.Printed("(/ 7.0 2)"), "3.5");
    // Folding from the left: the integer division happens before the real joins in.
    EXPECT_EQ(lisp.Printed("(/ 7 2 0.5)"), "6.0");
    EXPECT_EQ(lisp.Printed("(/ 9)"), "9");
    EXPECT_EQ(lisp.Printed("(+)"), "0");
    EXPECT_EQ(lisp.Printed("(*)"), "0");
}

TEST(Arithmetic, IntegersWrapAtThirtyTwoBits) {
    LispSession lisp;
    EXPECT_EQ(lisp.Printed("(+ 2147483647 1)"), "-2147483648");
    EXPECT_EQ(lisp.Printed("(* 65536 65536)"), "0");
    EXPECT_EQ(lisp.Printed("(/ -2147483648 -1)"), "-2147483648");
}

TEST(Arithmetic, BadArgumentsAndDivisionByZero) {
    LispSession lisp;
    EXPECT_EQ(lisp.Failure("(+ 1 \"2\")"), "bad argument type: numberp: \"2\"");
    EXPECT_EQ(lisp.Failure("(* 2 nil)"), "bad argument type: numberp: nil");
    EXPECT_EQ(lisp.Failure("(- '(1 2))"), "bad argument type: numberp: (1 2)");
    EXPECT_EQ(lisp.Failure("(/ 1 0)"), "divide by zero");
    EXPECT_EQ(lisp.Failure("(/ 1.5 0.0)"), "divide by zero");
    // Every argument is checked before anything is computed.
    EXPECT_EQ(lisp.Failure("(/ 1 0 \"x\")"), "bad argument type: numberp: \"x\"");
}

TEST(Comparison, NumbersByValueStringsByCharacterCodes) {
    LispSession lisp;
    EXPECT_EQ(lisp.Printed("(= 1 1.0)"), "T");
    EXPECT_EQ(lisp.Printed("(= 2 2 3)"), "nil");
    EXPECT_EQ(lisp.Printed("(= \"TIN\" \"TIN\")"), "T");
    EXPECT_EQ(lisp.Printed("(= \"TIN\" \"tin\")"), "nil");
    EXPECT_EQ(lisp.Printed("(= 1 \"1\")"), "nil");
    EXPECT_EQ(lisp.Printed("(= nil nil)"), "T");
    EXPECT_EQ(lisp.Printed("(= 'a 'a)"), "T");
    EXPECT_EQ(lisp.Printed("(= 5)"), "T");
    EXPECT_EQ(lisp.Printed("(/= 1 2)"), "T");
    EXPECT_EQ(lisp.Printed("(/= 1 1.0)"), "nil");
    EXPECT_EQ(lisp.Printed("(/= 1 2 1)"), "T");
    EXPECT_EQ(lisp.Printed("(< 1 2 3.5)"), "T");
    EXPECT_EQ(lisp.Printed("(< 1 3 2)"), "nil");
    EXPECT_EQ(lisp.Printed("(> 3 2.5 -1)"), "T");
    EXPECT_EQ(lisp.Printed("(<= 1 1 2)"), "T");
    EXPECT_EQ(lisp.Printed("(>= 2 2 3)"), "nil");
    EXPECT_EQ(lisp.Printed("(< \"a\" \"b\")"), "T");
    EXPECT_EQ(lisp.Printed("(< \"B\" \"a\")"), "T");
}

TEST(Comparison, BadArguments) {
    LispSession lisp;
    EXPECT_EQ(lisp.Failure("(=)"), "too few arguments");
    EXPECT_EQ(lisp.Failure("(< 1 \"2\")"), "bad argument type: numberp: \"2\"");
    EXPECT_EQ(lisp.Failure("(< \"a\" 2)"), "bad argument type: stringp 2");
    EXPECT_EQ(lisp.Failure("(> 1 nil)"), "bad argument type: numberp: nil");
    // A bad argument is found even after the answer is known.
    EXPECT_EQ(lisp.Failure("(< 2 1 \"x\")"), "bad argument type: numberp: \"x\"");
}

TEST(Lists, BuildingAndTakingApart) {
    LispSession lisp;
    EXPECT_EQ(lisp.Printed("(list 1 \"a\" (list 2.5))"), "(1 \"a\" (2.5))");
    EXPECT_EQ(lisp.Printed("(list)"), "nil");
    EXPECT_EQ(lisp.Printed("(car '((0 0 1) (1 0 2)))"), "(0 0 1)");
    EXPECT_EQ(lisp.Printed("(cdr '(1 2 3))"), "(2 3)");
    EXPECT_EQ(lisp.Printed("(cdr '(1))"), "nil");
    EXPECT_EQ(lisp.Printed("(cadr '(1 2 3))"), "2");
    EXPECT_EQ(lisp.Printed("(cadr '(1))"), "nil");
    EXPECT_EQ(lisp.Printed("(car nil)"), "nil");
    EXPECT_EQ(lisp.Printed("(cdr nil)"), "nil");
    EXPECT_EQ(lisp.Printed("(nth 0 '(a b c))"), "A");
    EXPECT_EQ(lisp.Printed("(nth 2 '(a b c))"), "C");
    EXPECT_EQ(lisp.Printed("(nth 3 '(a b c))"), "nil");
    EXPECT_EQ(lisp.Printed("(nth -1 '(a b c))"), "nil");
    EXPECT_EQ(lisp.Printed("(length '(1 2 3))"), "3");
    EXPECT_EQ(lisp.Printed("(length nil)"), "0");
    EXPECT_EQ(lisp.Printed("(append '(1 2) nil '(3) '((4)))"), "(1 2 3 (4))");
    EXPECT_EQ(lisp.Printed("(append)"), "nil");
}

TEST(Lists, BadArguments) {
    LispSession lisp;
    EXPECT_EQ(lisp.Failure("(car 5)"), "bad argument type: consp 5");
    EXPECT_EQ(lisp.Failure("(cdr \"ab\")"), "bad argument type: consp \"ab\"");
    EXPECT_EQ(lisp.Failure("(car)"), "too few arguments");
    EXPECT_EQ(lisp.Failure("(car '(1) '(2))"), "too many arguments");
    EXPECT_EQ(lisp.Failure("(nth 1.0 '(1 2))"), "bad argument type: fixnump: 1.0");
    EXPECT_EQ(lisp.Failure("(nth 1 5)"), "bad argument type: listp 5");
    EXPECT_EQ(lisp.Failure("(length \"abc\")"), "bad argument type: listp \"abc\"");
    EXPECT_EQ(lisp.Failure("(append '(1) 2)"), "bad argument type: listp 2");
}

TEST(Text, StrcatJoinsStringsOnly) {
    LispSession lisp;
    EXPECT_EQ(lisp.Printed("(strcat \"kaf\" \"-\" \"dct\")"), "\"kaf-dct\"");
    EXPECT_EQ(lisp.Printed("(strcat)"), "\"\"");
    EXPECT_EQ(lisp.Failure("(strcat \"n = \" 5)"), "bad argument type: stringp 5");
    EXPECT_EQ(lisp.Failure("(strcat nil)"), "bad argument type: stringp nil");
}

TEST(Text, PrincPrin1AndPrintWriteTheCommandLineAndGiveTheirArgument) {
    LispSession lisp;
    EXPECT_EQ(lisp.Printed("(princ \"a\\tb\\n\")"), "\"a\\tb\\n\"");
    EXPECT_EQ(lisp.Printed("(prin1 \"q\\\"\")"), "\"q\\\"\"");
    EXPECT_EQ(lisp.Printed("(princ '(\"20\" 1.5 nil))"), "(\"20\" 1.5 nil)");
    EXPECT_EQ(lisp.Printed("(print 'x)"), "X");
    EXPECT_EQ(lisp.Written(), "a\tb\n\"q\\\"\"(20 1.5 nil)\nX ");
}

TEST(Text, PrintingWithoutArgumentWritesNothing) {
    LispSession lisp;
    EXPECT_EQ(lisp.Run("(princ)"), kafcad::Value::symbol(L""));
    EXPECT_EQ(lisp.Run("(prin1)"), kafcad::Value::symbol(L""));
    EXPECT_EQ(lisp.Written(), "");
    EXPECT_EQ(lisp.Failure("(princ 1 2)"), "bad argument type: streamp 2");
    EXPECT_EQ(lisp.Failure("(princ 1 nil 3)"), "too many arguments");
}

}  // namespace
