#include "fuzz/fuzz_failure.h"

#include <cstdio>
#include <cstdlib>

void FuzzFailure(const std::string& what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}
