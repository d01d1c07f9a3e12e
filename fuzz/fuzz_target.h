// The two entry points of a fuzz target, as libFuzzer calls them and as the replay driver calls
// them: LLVMFuzzerInitialize once before the first input (argc and argv may be null), then
// LLVMFuzzerTestOneInput once per input. A target signals a fault by aborting (FuzzFailure), as a
// crash or sanitizer report would.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
