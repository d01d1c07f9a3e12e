#include "geom/dct/dct_mesh.h"

namespace geom {

// Kept out of line so that the edge operations stay small where they are inlined.
void DctMesh::ThrowOutOfEdges() {
    throw "Out of memory for edges\n";
}

}  // namespace geom
