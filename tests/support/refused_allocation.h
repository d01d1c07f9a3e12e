// RefusedAllocation(size): while it lives, the global operator new of the test program refuses
// every request of exactly size bytes with std::bad_alloc, so that one chosen allocation of the
// code under test fails (a module loaded into the test program allocates through the same
// operator). The operator is replaced in refused_allocation.cpp, which a test program links at most
// once.
// AllocationTally: while it lives, Bytes() is the sum of the sizes asked of that operator new
// since it was made (a bound on the memory the code under test held at once).
#pragma once

#include <cstddef>

// Why a refusal cannot reach the module in this build, or null when it can. On Windows every DLL
// has the C++ runtime linked into it, with an operator new of its own that the test program's
// does not replace.
#if defined(_WIN32)
inline constexpr const char* kRefusalMissesTheModule =
    "the module's DLL allocates through its own operator new, which a test cannot replace";
#else
inline constexpr const char* kRefusalMissesTheModule = nullptr;
#endif

class AllocationTally {
public:
    AllocationTally();
    ~AllocationTally();
    AllocationTally(const AllocationTally&) = delete;
    AllocationTally& operator=(const AllocationTally&) = delete;
    std::size_t Bytes() const;
};

class RefusedAllocation {
public:
    explicit RefusedAllocation(std::size_t size);
    ~RefusedAllocation();
    RefusedAllocation(const RefusedAllocation&) = delete;
    RefusedAllocation& operator=(const RefusedAllocation&) = delete;
};
