// DctCheckRings(m, entries, ends): checks the edge rings of CDCT's workspace for vertices
// 0 .. m - 1 (InvariantBroken when one fails): every end in the ring of vertex v is at v, its
// next end's previous end is itself, its edge's far end is at another vertex, and the ring comes
// back to the vertex's entry end within m steps. Vertices without an edge (kDctNone) are skipped.
#pragma once

#include <cstdint>

#include "geom/dct/dct_records.h"

namespace geom {

void DctCheckRings(std::uint32_t m, const std::uint32_t* entries, const DctEdgeEnd* ends);

}  // namespace geom
