// AppendFaceRecord(mesh, first, second, third): appends a triangular face record to a polyface
// mesh and closes it. The corners are the mesh's vertex numbers, counted from 1; the fourth corner
// is 0 (none). The host's status is not examined; a record the mesh refused is deleted.
#pragma once

#include <cstdint>

#include "arxapi.h"

void AppendFaceRecord(AcDbPolyFaceMesh& mesh, std::int32_t first, std::int32_t second,
                      std::int32_t third);
