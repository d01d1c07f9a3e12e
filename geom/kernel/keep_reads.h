// KeepReads(value): keeps reads made ahead of their use (so that their cache misses overlap
// rather than come one after the other later) from being optimised away. value is computed from
// what was read; it is stored where the compiler must assume it is seen, and nothing else.
#pragma once

namespace geom {

template <typename T>
inline volatile T keptReads{};

template <typename T>
void KeepReads(T value) {
    keptReads<T> = value;
}

}  // namespace geom
