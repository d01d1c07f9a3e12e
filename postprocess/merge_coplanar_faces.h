// MergeCoplanarFaces(mesh): the merging of a subdivision mesh's coplanar faces. Merging is not
// done yet: the mesh is left as it is, and the number of faces merged is 0.
#pragma once

#include <cstdint>

#include "arxapi.h"

std::int32_t MergeCoplanarFaces(const AcDbSubDMesh& mesh);
