// Data that a script nests at run time, (setq x (list x)) in a loop, is held to the depth the
// reader allows: printing, comparing and freeing such a value recurse once per level, and a
// deeper value would overflow the stack instead of ending with an error line.
#include <gtest/gtest.h>

#include <string>

#include "lisp_session.h"

namespace {

// (foreach e '(1 1 ... 1) (setq x (list x))) with count elements, starting from x = nil.
std::string NestLoop(int count) {
    std::string ones;
    for (int i = 0; i < count; ++i) {
        ones += " 1";
    }
    return "(setq x nil) (foreach e '(" + ones + ") (setq x (list x)))";
}

TEST(DeepData, ListsNestUpToTheReadersDepthAndDeeperIsAnError) {
    LispSession session;
    // nil nested in 1000 lists: (((...(nil)...))).
    EXPECT_EQ(session.Printed(NestLoop(1000) + " x"),
              std::string(999, '(') + "(nil)" + std::string(999, ')'));
    EXPECT_EQ(session.Failure(NestLoop(100000)),
              "too deeply nested (more than 1000 levels of lists)");
    // The session goes on, and x holds the last value it was given.
    EXPECT_EQ(session.Printed("(length (car x))"), "1");
}

}  // namespace
