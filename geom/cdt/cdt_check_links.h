// CdtCheckLinks(mesh): checks the links of the constrained triangulator's mesh
// (InvariantBroken when one fails): every neighbour link is mirrored by the neighbour's link
// back, the two triangles name the shared edge by the same two vertices in opposite directions,
// they agree on whether it is a constraint, and vertexTriangle of every vertex that has a
// triangle names a triangle at that vertex.
#pragma once

#include "geom/cdt/cdt_mesh.h"

namespace geom {

void CdtCheckLinks(const CdtMesh& mesh);

}  // namespace geom
