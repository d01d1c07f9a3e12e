// RefusedAllocation(size): while it lives, the global operator new of the test program refuses
// every request of exactly size bytes with std::bad_alloc, so that one chosen allocation of the
// code under test fails (a module loaded into the test program allocates through the same
// operator). The operator is replaced in refused_allocation.cpp, which a test program links at most
// once.
#pragma once

#include <cstddef>

class RefusedAllocation {
public:
    explicit RefusedAllocation(std::size_t size);
    ~RefusedAllocation();
    RefusedAllocation(const RefusedAllocation&) = delete;
    RefusedAllocation& operator=(const RefusedAllocation&) = delete;
};
