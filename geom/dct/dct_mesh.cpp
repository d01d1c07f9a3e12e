#include "geom/dct/dct_mesh.h"

#include "geom/kernel/geometry_error.h"

namespace geom {

// Kept out of line so that the edge operations stay small where they are inlined.
void DctMesh::ThrowOutOfEdges() {
    throw GeometryError(GeometryFailure::kEdgesShort);
}

}  // namespace geom
