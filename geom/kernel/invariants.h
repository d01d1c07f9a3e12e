// Checks of the mesh structures' own invariants (neighbour links that mirror each other, closed
// edge rings, ...), run in debug builds and in the sanitizer build (which defines
// KAF_CHECK_INVARIANTS), never in Release.
//
// kCheckInvariants: whether this build runs them; callers write `if (kCheckInvariants) ...`, so
// that the checks are compiled everywhere and cost nothing where they are off.
// InvariantBroken(structure, what): reports a broken invariant on standard error and aborts: the
// structure is corrupt, and whatever the run would give from it is wrong.
#pragma once

namespace geom {

#if !defined(NDEBUG) || defined(KAF_CHECK_INVARIANTS)
constexpr bool kCheckInvariants = true;
#else
constexpr bool kCheckInvariants = false;
#endif

[[noreturn]] void InvariantBroken(const char* structure, const char* what);

}  // namespace geom
