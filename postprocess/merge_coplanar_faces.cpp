#include "postprocess/merge_coplanar_faces.h"

std::int32_t MergeCoplanarFaces(const AcDbSubDMesh&) {
    return 0;
}
