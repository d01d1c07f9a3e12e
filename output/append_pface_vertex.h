// AppendPFaceVertex(mesh, vertex): appends a new polyface-mesh vertex at the vertex's x, y, z to
// the mesh and closes it. The host's status is not examined; a vertex the mesh refused is deleted.
#pragma once

#include "arxapi.h"
#include "geom/vertex.h"

void AppendPFaceVertex(AcDbPolyFaceMesh& mesh, const geom::CVertex& vertex);
