// FuzzFailure(what): a check of a fuzz target failed. Writes "fuzz check failed: " and what to
// standard error and aborts, so that libFuzzer keeps the input as a crash and the replay stops.
#pragma once

#include <string>

[[noreturn]] void FuzzFailure(const std::string& what);
