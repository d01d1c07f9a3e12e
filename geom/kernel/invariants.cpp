#include "geom/kernel/invariants.h"

#include <cstdio>
#include <cstdlib>

namespace geom {

void InvariantBroken(const char* structure, const char* what) {
    std::fprintf(stderr, "geometry invariant broken in %s: %s\n", structure, what);
    std::abort();
}

}  // namespace geom
