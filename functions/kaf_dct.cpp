// kaf-dct: triangulates a point list with the DCT triangulator and returns the triangles as a
// list of point triples, each counter-clockwise with its lowest-indexed corner first. A failure
// of the triangulator (while points are added or during the run) prints its own text and ends
// with nil.
#include <vector>

#include "functions/triangulate_point_list.h"
#include "functions/workers.h"
#include "geom/dct/dct.h"
#include "host/result_lists.h"

int RunKafDct(const resbuf* args) {
    const std::vector<geom::CTriangle> triangles = TriangulatePointList<geom::CDCT>(args);
    return ReturnList(TrianglesToResultList(triangles));
}
