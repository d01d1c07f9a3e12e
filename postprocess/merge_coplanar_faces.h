// MergeCoplanarFaces(mesh): the merging step of kaf-mergingCoplanarFacesOfSubMesh. It merges
// nothing: the mesh is left exactly as it is and the number of faces merged is always 0.
#pragma once

#include <cstdint>

#include "arxapi.h"

std::int32_t MergeCoplanarFaces(const AcDbSubDMesh& mesh);
