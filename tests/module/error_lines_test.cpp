// The triangulators' failure texts as the command line shows them, how a worker's unexpected
// failures end the function, and the clock's elapsed-time arithmetic. The error lines themselves
// are checked through the calls that print them.
#include <climits>
#include <new>
#include <stdexcept>

#include "host/clock.h"
#include "host/error_lines.h"
#include "host/run_worker_guarded.h"
#include "module_fixture.h"
#include "support/error_lines.h"

namespace {

using ErrorLinesTest = HostTest;

TEST_F(ErrorLinesTest, TriangulatorFailureIsPrintedExactlyAsRaised) {
    PrintTriangulatorFailure("A minimum of 3 vertices are required!\n");
    PrintTriangulatorFailure("Out of memory for edges\n");
    PrintTriangulatorFailure("100% done %s\n");
    EXPECT_EQ(host().commandLine(),
              L"A minimum of 3 vertices are required!\nOut of memory for edges\n100% done %s\n");
}

TEST_F(ErrorLinesTest, NoFailureLeavesAWorker) {
    const auto guarded = [](int (*worker)(const resbuf*)) {
        return RunWorkerGuarded(worker, nullptr, L"kaf-dct");
    };
    EXPECT_EQ(guarded([](const resbuf*) -> int { throw "Out of memory for edges\n"; }), RSERR);
    EXPECT_EQ(guarded([](const resbuf*) -> int { throw std::bad_alloc(); }), RSERR);
    EXPECT_EQ(guarded([](const resbuf*) -> int { throw std::length_error("vector"); }), RSERR);
    EXPECT_EQ(guarded([](const resbuf*) -> int { throw std::out_of_range("index 7"); }), RSERR);
    EXPECT_EQ(guarded([](const resbuf*) -> int { throw 42; }), RSERR);
    EXPECT_EQ(host().commandLine(),
              L"Out of memory for edges\nNot enough memory\nNot enough memory\n" +
                  Aborted(L"kaf-dct", L"index 7") + Aborted(L"kaf-dct", L"Unexpected failure!"));
    // A worker that ends by itself is left alone.
    EXPECT_EQ(guarded([](const resbuf*) { return RSRSLT; }), RSRSLT);
}

TEST(ClockTest, ElapsedTimeIsTheSignedDifferenceAcrossAWrap) {
    EXPECT_EQ(ElapsedMilliseconds(1000, 3500), 2500);
    EXPECT_EQ(ElapsedMilliseconds(3500, 1000), -2500);
    EXPECT_EQ(ElapsedMilliseconds(INT32_MAX, INT32_MIN), 1);
    EXPECT_EQ(ElapsedMilliseconds(INT32_MAX - 99, INT32_MIN + 400), 500);
    EXPECT_EQ(ElapsedMilliseconds(INT32_MIN, INT32_MAX), -1);
}

}  // namespace
