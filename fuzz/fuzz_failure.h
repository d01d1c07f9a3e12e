// FuzzFailure(what): a check of a fuzz target failed. Writes "fuzz check failed: " and what to
// standard error and aborts, so that libFuzzer keeps the input as a crash and the replay stops.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

[[noreturn]] inline void FuzzFailure(const std::string& what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}
